// The test seam's hands on the multi-line edit control: clicks on characters, the context menu
// chosen from without showing it, and the clipboard.
#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"
#include "platform/testing/testing.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace platform::testing {

namespace {

QString plainLabel(const QAction* action)
{
    return action->text().remove(QLatin1Char('&'));
}

} // namespace

void clickCharacter(HWND edit, int position, UINT modifiers, bool twice)
{
    TextView* view = textViewOf(edit);
    if (!view)
        return;
    const QPoint at = view->pointOf(std::size_t(position)) + QPoint(1, view->lineHeight() / 2);
    const Qt::KeyboardModifiers held = (modifiers & MOD_SHIFT) ? Qt::ShiftModifier : Qt::NoModifier;
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, held, at);
    else
        QTest::mouseClick(view->viewport(), Qt::LeftButton, held, at);
}

std::vector<MenuItem> contextMenuOf(HWND edit)
{
    std::vector<MenuItem> items;
    TextView* view = textViewOf(edit);
    if (!view)
        return items;
    const std::unique_ptr<QMenu> menu(view->contextMenu());
    for (const QAction* action : menu->actions())
        items.push_back({toWString(plainLabel(action)), action->isEnabled()});
    return items;
}

void chooseContextMenuItem(HWND edit, const std::wstring& text)
{
    TextView* view = textViewOf(edit);
    if (!view)
        return;
    QPointer<QMenu> menu = view->contextMenu();
    for (QAction* action : menu->actions()) {
        if (plainLabel(action) == toQString(text) && action->isEnabled()) {
            action->trigger();
            break;
        }
    }
    delete menu.data(); // null when the command destroyed the control, and the menu with it
}

void setClipboardText(const std::wstring& text)
{
    QApplication::clipboard()->setText(toQString(text));
}

std::wstring clipboardText()
{
    return toWString(QApplication::clipboard()->text());
}

int horizontalScroll(HWND edit)
{
    TextView* view = textViewOf(edit);
    return view ? view->horizontalScrollBar()->value() : 0;
}

} // namespace platform::testing
