// The test seam's hands on a list box: clicks on its items.
#include "platform/qt/windows/window_p.h"
#include "platform/testing/testing.h"

#include <QListWidget>
#include <QTest>

namespace platform::testing {

namespace {

QListWidget* listOf(HWND hwnd)
{
    return live(hwnd) ? qobject_cast<QListWidget*>(hwnd->widget.data()) : nullptr;
}

} // namespace

void clickListItem(HWND list, int index)
{
    QListWidget* widget = listOf(list);
    HWND top = topLevelOf(list);
    if (!widget || !top->enabled || !list->enabled || !widget->item(index))
        return;
    widget->scrollToItem(widget->item(index));
    const QRect item = widget->visualItemRect(widget->item(index));
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
}

int topIndex(HWND list)
{
    QListWidget* widget = listOf(list);
    if (!widget)
        return -1;
    QListWidgetItem* item = widget->itemAt(widget->viewport()->rect().topLeft() + QPoint(1, 1));
    return item ? widget->row(item) : -1;
}

} // namespace platform::testing
