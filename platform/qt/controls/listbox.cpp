// The "Listbox" class on QListWidget: single selection, sorted insertion, the prefix search of
// LB_SELECTSTRING and LB_FINDSTRING, and notifications only for what the user does.
#include "platform/qt/controls/kept_scroll_bar_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

namespace platform {

namespace {

constexpr DWORD supportedListStyles =
    LBS_NOTIFY | LBS_SORT | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL;

class ListBox : public QListWidget {
public:
    ListBox(HWND hwnd, QWidget* parent) : QListWidget(parent), hwnd_(hwnd) { keepScrollBars(this); }

    // The item texts exactly as the program gave them, row by row.
    std::vector<std::wstring> texts;
    int requestedHeight = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QListWidget::mousePressEvent(event);
        // Windows: a click on an item reports a selection change even when it was selected.
        if (itemAt(event->position().toPoint()))
            notifySelection();
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        const int before = selectedRow();
        QListWidget::mouseMoveEvent(event);
        if (selectedRow() != before)
            notifySelection();
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QListWidget::mouseDoubleClickEvent(event);
        if (itemAt(event->position().toPoint()) && live(hwnd_) && (hwnd_->style & LBS_NOTIFY))
            notifyParent(hwnd_, LBN_DBLCLK);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        deliverKey(hwnd_, event, [this](QKeyEvent* key) {
            const int before = selectedRow();
            QListWidget::keyPressEvent(key);
            if (selectedRow() != before)
                notifySelection();
        });
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QListWidget::focusInEvent(event);
        focusGained(hwnd_);
    }

public:
    int selectedRow() const
    {
        const QList<QListWidgetItem*> selected = selectedItems();
        return selected.isEmpty() ? -1 : row(selected.first());
    }

private:
    void notifySelection()
    {
        // Windows: only LBS_NOTIFY lists report selections, and only those the user makes.
        if (live(hwnd_) && (hwnd_->style & LBS_NOTIFY))
            notifyParent(hwnd_, LBN_SELCHANGE);
    }

    HWND hwnd_;
};

ListBox* listOf(HWND hwnd)
{
    return live(hwnd) ? dynamic_cast<ListBox*>(hwnd->widget.data()) : nullptr;
}

int itemHeight(const ListBox& list)
{
    return std::max(1, QFontMetrics(list.font()).height());
}

void applyFont(HWND hwnd, ListBox& list)
{
    list.setFont(controlFont(hwnd));
    const int height = itemHeight(list);
    for (int row = 0; row < list.count(); ++row)
        list.item(row)->setSizeHint(QSize(0, height));
}

// Windows: without LBS_NOINTEGRALHEIGHT the list shrinks so that no item shows only in part.
void fitHeight(HWND hwnd, ListBox& list)
{
    if (hwnd->style & LBS_NOINTEGRALHEIGHT)
        return;
    const int frame = 2 * list.frameWidth();
    const int scrollBar = list.horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn
                              ? list.style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                              : 0;
    const int items = itemHeight(list);
    const int rows = (list.requestedHeight - frame - scrollBar) / items;
    if (rows <= 0)
        return;
    const int height = rows * items + frame + scrollBar;
    hwnd->rect.bottom = hwnd->rect.top + height;
    list.resize(list.width(), height);
}

// Windows: LBS_DISABLENOSCROLL keeps the bars and greys them out while there is nothing to
// scroll; a horizontal bar never scrolls, since nobody sets a horizontal extent.
void setUpScrollBars(HWND hwnd, ListBox& list)
{
    const bool keepBars = hwnd->style & LBS_DISABLENOSCROLL;
    if (!(hwnd->style & WS_VSCROLL))
        list.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    else if (keepBars)
        list.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if ((hwnd->style & WS_HSCROLL) && keepBars) {
        list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        list.horizontalScrollBar()->setEnabled(false);
    } else {
        list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    QScrollBar* vertical = list.verticalScrollBar();
    QObject::connect(vertical, &QScrollBar::rangeChanged, vertical,
                     [vertical](int min, int max) { vertical->setEnabled(max > min); });
    vertical->setEnabled(false);
}

// Windows sorts without regard to case; an item goes after those that compare equal.
int sortedRow(const ListBox& list, const QString& text)
{
    int row = 0;
    while (row < list.count() &&
           QString::compare(list.item(row)->text(), text, Qt::CaseInsensitive) <= 0)
        ++row;
    return row;
}

LRESULT addString(HWND hwnd, ListBox& list, LPARAM lParam)
{
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    if (!text)
        return LB_ERR;
    const QString shown = toQString(text);
    const int row = (hwnd->style & LBS_SORT) ? sortedRow(list, shown) : list.count();
    auto* item = new QListWidgetItem(shown);
    item->setSizeHint(QSize(0, itemHeight(list)));
    list.insertItem(row, item);
    list.texts.insert(list.texts.begin() + row, text);
    return row;
}

bool isRow(const ListBox& list, WPARAM index)
{
    return LONG_PTR(index) >= 0 && LONG_PTR(index) < list.count();
}

LRESULT select(ListBox& list, int row)
{
    list.setCurrentRow(row);
    list.scrollToItem(list.item(row));
    return row;
}

LRESULT setCurrentSelection(ListBox& list, WPARAM index)
{
    if (!isRow(list, index)) {
        // Windows: -1 clears the selection and still reports LB_ERR.
        if (LONG_PTR(index) == -1) {
            list.clearSelection();
            list.setCurrentRow(-1);
        }
        return LB_ERR;
    }
    return select(list, int(index));
}

// The first item from start + 1 onwards, wrapping round to start, whose text begins with the
// prefix without regard to case; start -1 (or any index outside the list) searches from the top.
LRESULT findPrefix(const ListBox& list, WPARAM start, LPARAM lParam)
{
    const auto* prefix = reinterpret_cast<const wchar_t*>(lParam);
    if (!prefix || list.count() == 0)
        return LB_ERR;
    const QString wanted = toQString(prefix);
    const int first = isRow(list, start) ? int(start) + 1 : 0;
    for (int step = 0; step < list.count(); ++step) {
        const int row = (first + step) % list.count();
        if (list.item(row)->text().startsWith(wanted, Qt::CaseInsensitive))
            return row;
    }
    return LB_ERR;
}

LRESULT copyItemText(const ListBox& list, WPARAM index, LPARAM lParam)
{
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    if (!isRow(list, index) || !buffer)
        return LB_ERR;
    const std::wstring& text = list.texts[index];
    text.copy(buffer, text.size());
    buffer[text.size()] = L'\0';
    return LRESULT(text.size());
}

LRESULT listMessage(HWND hwnd, ListBox& list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LB_ADDSTRING:
        return addString(hwnd, list, lParam);
    case LB_SETCURSEL:
        return setCurrentSelection(list, wParam);
    case LB_GETCURSEL: {
        const int row = list.selectedRow();
        return row < 0 ? LB_ERR : row;
    }
    case LB_GETTEXT:
        return copyItemText(list, wParam, lParam);
    case LB_GETTEXTLEN:
        return isRow(list, wParam) ? LRESULT(list.texts[wParam].size()) : LB_ERR;
    case LB_GETCOUNT:
        return list.count();
    case LB_FINDSTRING:
        return findPrefix(list, wParam, lParam);
    case LB_SELECTSTRING: {
        // Windows: a failed search keeps the current selection.
        const LRESULT row = findPrefix(list, wParam, lParam);
        return row == LB_ERR ? LB_ERR : select(list, int(row));
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

QWidget* createListBoxWidget(HWND hwnd, QWidget* parent)
{
    // A style this list does not implement would silently look or act wrong: stop instead.
    if (const DWORD unknown = hwnd->style & 0xFFFF & ~supportedListStyles)
        qFatal("Listbox: style bits 0x%x are not implemented", unsigned(unknown));
    auto* list = new ListBox(hwnd, parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setTextElideMode(Qt::ElideNone); // Windows clips a long item at the edge
    list->setFrameStyle((hwnd->style & WS_BORDER) ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    list->setLineWidth(1);
    setUpScrollBars(hwnd, *list);
    applyFont(hwnd, *list);
    return list;
}

LRESULT CALLBACK listBoxClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ListBox* list = listOf(hwnd);
    if (!list)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_KEYDOWN:
        runDefaultKey(hwnd, wParam, lParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        notifyParent(hwnd, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        notifyParent(hwnd, LBN_KILLFOCUS);
        return 0;
    case WM_SIZE:
        list->requestedHeight = int(hwnd->rect.bottom - hwnd->rect.top);
        fitHeight(hwnd, *list);
        return 0;
    case WM_SETFONT:
        DefWindowProcW(hwnd, message, wParam, lParam);
        applyFont(hwnd, *list);
        fitHeight(hwnd, *list);
        return 0;
    default:
        return listMessage(hwnd, *list, message, wParam, lParam);
    }
}

} // namespace platform
