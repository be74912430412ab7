// Menus: handles are plain records, made before any Qt object may exist; SetMenu turns them into
// a QMenuBar whose items post WM_COMMAND once the menu has closed, as Windows delivers them, and
// whose drop-downs send WM_INITMENUPOPUP before they show.
#include "platform/qt/handles_p.h"
#include "platform/qt/hooks_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <memory>

struct HMENU__ {
    struct Item {
        UINT flags; // MF_CHECKED among them while the item carries its check mark
        UINT_PTR id;
        HMENU popup;
        std::wstring text;
        bool radio = false;                     // the check mark is a bullet (CheckMenuRadioItem)
        std::vector<QPointer<QAction>> actions; // what shows the item in the bars built so far
    };
    std::vector<Item> items;
    HWND window = nullptr; // the window whose menu bar this is
};

namespace platform {

void replaceMenuBar(HWND hwnd, QMenuBar* bar);

PopupMenuHook popupMenuHook = nullptr;

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

// A radio item sits in an action group of its own, which is what gives it a bullet instead of a
// tick; its state is only ever the record's, as Windows leaves checking to the program.
void showCheck(QAction* action, const HMENU__::Item& item)
{
    const bool checked = item.flags & MF_CHECKED;
    action->setCheckable(checked || item.radio);
    if (item.radio && !action->actionGroup()) {
        auto* group = new QActionGroup(action);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        group->addAction(action);
    }
    action->setChecked(checked);
}

void showChecks(HMENU__::Item& item)
{
    std::erase_if(item.actions, [](const QPointer<QAction>& action) { return action.isNull(); });
    for (const auto& action : item.actions)
        showCheck(action, item);
}

void addPopup(QWidget* target, HMENU menu, std::size_t position, HWND hwnd)
{
    const HMENU__::Item& item = menu->items[position];
    auto* popup = new QMenu(toQString(item.text), target);
    addItems(popup, item.popup, hwnd);
    target->addAction(popup->menuAction());
    popup->menuAction()->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    HMENU shown = item.popup;
    QObject::connect(popup, &QMenu::aboutToShow, popup, [hwnd, shown, position] {
        SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(shown),
                     MAKELPARAM(WORD(position), FALSE));
    });
}

void addItem(QWidget* target, HMENU menu, std::size_t position, HWND hwnd)
{
    HMENU__::Item& item = menu->items[position];
    if (item.flags & MF_SEPARATOR) {
        if (auto* popup = qobject_cast<QMenu*>(target))
            popup->addSeparator();
        return;
    }
    if (item.flags & MF_POPUP) {
        addPopup(target, menu, position, hwnd);
        return;
    }
    auto* action = new QAction(toQString(item.text), target);
    action->setData(QVariant::fromValue(qulonglong(item.id)));
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    item.actions.emplace_back(action);
    showCheck(action, item);
    const WORD id = WORD(item.id);
    QObject::connect(action, &QAction::triggered, action, [hwnd, id, action, menu, position] {
        // Windows: choosing an item does not check it; the program does, if it wants to.
        showCheck(action, menu->items[position]);
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    });
    target->addAction(action);
}

void addItems(QMenu* target, HMENU menu, HWND hwnd)
{
    if (!isMenu(menu))
        return;
    for (std::size_t position = 0; position < menu->items.size(); ++position)
        addItem(target, menu, position, hwnd);
}

QMenuBar* buildBar(HMENU menu, HWND hwnd)
{
    auto* bar = new QMenuBar;
    for (std::size_t position = 0; position < menu->items.size(); ++position)
        addItem(bar, menu, position, hwnd);
    return bar;
}

// The menu that holds the item: menu itself or one of its drop-downs, searched as Windows
// searches them by command.
HMENU holderOf(HMENU menu, UINT id)
{
    for (const auto& item : menu->items) {
        if (!(item.flags & (MF_POPUP | MF_SEPARATOR)) && item.id == id)
            return menu;
    }
    for (const auto& item : menu->items) {
        if ((item.flags & MF_POPUP) && isMenu(item.popup))
            if (HMENU holder = holderOf(item.popup, id))
                return holder;
    }
    return nullptr;
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
    menu->items.push_back({flags, (flags & MF_POPUP) ? 0 : idOrPopup, popup, itemText, false, {}});
    refreshBarsShowing(menu);
    return TRUE;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags)
{
    if (!isMenu(menu))
        return FALSE;
    const bool byPosition = flags & MF_BYPOSITION;
    HMENU holder = byPosition ? menu : holderOf(menu, check);
    if (!holder || (byPosition && check >= holder->items.size()))
        return FALSE;
    for (std::size_t position = 0; position < holder->items.size(); ++position) {
        HMENU__::Item& item = holder->items[position];
        const UINT key = byPosition ? UINT(position) : UINT(item.id);
        if ((item.flags & (MF_POPUP | MF_SEPARATOR)) || key < first || key > last)
            continue;
        item.radio = key == check;
        item.flags = item.radio ? item.flags | MF_CHECKED : item.flags & ~MF_CHECKED;
        showChecks(item);
    }
    return TRUE;
}

namespace {

// The item of that command in menu or its drop-downs, as Windows finds it by command.
HMENU__::Item* itemOf(HMENU menu, UINT id)
{
    HMENU holder = isMenu(menu) ? holderOf(menu, id) : nullptr;
    for (std::size_t position = 0; holder && position < holder->items.size(); ++position) {
        HMENU__::Item& item = holder->items[position];
        if (!(item.flags & (MF_POPUP | MF_SEPARATOR)) && item.id == id)
            return &item;
    }
    return nullptr;
}

} // namespace

BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable)
{
    HMENU__::Item* item = (enable & MF_BYPOSITION) ? nullptr : itemOf(menu, id);
    if (!item)
        return -1;
    const UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    std::erase_if(item->actions, [](const QPointer<QAction>& action) { return action.isNull(); });
    for (const auto& action : item->actions)
        action->setEnabled(!(item->flags & (MF_GRAYED | MF_DISABLED)));
    return BOOL(previous);
}

HMENU CreatePopupMenu()
{
    return CreateMenu();
}

// Windows runs the menu's own loop until it closes; with TPM_RETURNCMD the chosen command is the
// answer and no WM_COMMAND is sent.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    if (!isMenu(menu) || !(flags & TPM_RETURNCMD) || !live(owner))
        return FALSE;
    QMenu popup;
    std::vector<testing::ShownMenuItem> shown;
    for (std::size_t position = 0; position < menu->items.size(); ++position) {
        const HMENU__::Item& item = menu->items[position];
        if (item.flags & MF_SEPARATOR) {
            popup.addSeparator();
            continue;
        }
        const bool enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
        QAction* action = popup.addAction(toQString(item.text));
        action->setEnabled(enabled);
        action->setData(QVariant::fromValue(qulonglong(item.id)));
        shown.push_back({UINT(item.id), item.text, enabled});
    }
    if (popupMenuHook)
        return BOOL(popupMenuHook(shown));
    QAction* chosen = nullptr;
    {
        ModalScope modal;
        chosen = popup.exec(QPoint(x, y));
    }
    return chosen ? BOOL(chosen->data().toULongLong()) : FALSE;
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check)
{
    const bool byCommand = (check & ~MF_CHECKED) == MF_BYCOMMAND;
    HMENU holder = isMenu(menu) && byCommand ? holderOf(menu, id) : nullptr;
    for (std::size_t position = 0; holder && position < holder->items.size(); ++position) {
        HMENU__::Item& item = holder->items[position];
        if ((item.flags & (MF_POPUP | MF_SEPARATOR)) || item.id != id)
            continue;
        const DWORD previous = item.flags & MF_CHECKED;
        item.flags = (item.flags & ~MF_CHECKED) | (check & MF_CHECKED);
        showChecks(item);
        return previous;
    }
    return DWORD(-1);
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
