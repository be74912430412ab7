// Menus: handles are plain records, made before any Qt object may exist; SetMenu turns them into
// a QMenuBar whose items post WM_COMMAND once the menu has closed, as Windows delivers them.
#include "platform/qt/handles_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QAction>
#include <QMenuBar>

#include <memory>

struct HMENU__ {
    struct Item {
        UINT flags;
        UINT_PTR id;
        HMENU popup;
        std::wstring text;
    };
    std::vector<Item> items;
    HWND window = nullptr; // the window whose menu bar this is
};

namespace platform {

void replaceMenuBar(HWND hwnd, QMenuBar* bar);

namespace {

// A function-local static: the editor makes its menus during static initialisation.
HandleRegistry<HMENU__>& menus()
{
    static HandleRegistry<HMENU__> all;
    return all;
}

bool isMenu(HMENU menu)
{
    return menus().contains(menu);
}

void addItems(QMenu* target, HMENU menu, HWND hwnd);

void addItem(QWidget* target, const HMENU__::Item& item, HWND hwnd)
{
    if (item.flags & MF_SEPARATOR) {
        if (auto* popup = qobject_cast<QMenu*>(target))
            popup->addSeparator();
        return;
    }
    if (item.flags & MF_POPUP) {
        auto* popup = new QMenu(toQString(item.text), target);
        addItems(popup, item.popup, hwnd);
        target->addAction(popup->menuAction());
        popup->menuAction()->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
        return;
    }
    auto* action = new QAction(toQString(item.text), target);
    action->setData(QVariant::fromValue(qulonglong(item.id)));
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    const WORD id = WORD(item.id);
    QObject::connect(action, &QAction::triggered, action,
                     [hwnd, id] { PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); });
    target->addAction(action);
}

void addItems(QMenu* target, HMENU menu, HWND hwnd)
{
    if (!isMenu(menu))
        return;
    for (const auto& item : menu->items)
        addItem(target, item, hwnd);
}

QMenuBar* buildBar(HMENU menu, HWND hwnd)
{
    auto* bar = new QMenuBar;
    for (const auto& item : menu->items)
        addItem(bar, item, hwnd);
    return bar;
}

bool contains(HMENU bar, HMENU menu)
{
    if (bar == menu)
        return true;
    for (const auto& item : bar->items) {
        if ((item.flags & MF_POPUP) && isMenu(item.popup) && contains(item.popup, menu))
            return true;
    }
    return false;
}

// A change to a menu that is already shown rebuilds the bar it belongs to.
void refreshBarsShowing(HMENU menu)
{
    for (const auto& bar : menus().all()) {
        HWND hwnd = bar->window;
        if (live(hwnd) && hwnd->menu == bar.get() && contains(bar.get(), menu))
            replaceMenuBar(hwnd, buildBar(bar.get(), hwnd));
    }
}

} // namespace

} // namespace platform

using namespace platform;

HMENU CreateMenu()
{
    return menus().add(std::make_unique<HMENU__>());
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text)
{
    if (!isMenu(menu))
        return FALSE;
    HMENU popup = (flags & MF_POPUP) ? reinterpret_cast<HMENU>(idOrPopup) : nullptr;
    if ((flags & MF_POPUP) && !isMenu(popup))
        return FALSE;
    const std::wstring itemText = (flags & MF_SEPARATOR) || !text ? L"" : text;
    menu->items.push_back({flags, (flags & MF_POPUP) ? 0 : idOrPopup, popup, itemText});
    refreshBarsShowing(menu);
    return TRUE;
}

BOOL SetMenu(HWND hwnd, HMENU menu)
{
    if (!isTopLevel(hwnd) || (menu && !isMenu(menu)))
        return FALSE;
    hwnd->menu = menu;
    if (menu)
        menu->window = hwnd;
    replaceMenuBar(hwnd, menu ? buildBar(menu, hwnd) : nullptr);
    return TRUE;
}
