// The text interface of the multi-line edit control over its EditModel.
#include "platform/qt/accessibility/accessible_text_view_p.h"

#include "platform/qt/accessibility/text_items_p.h"
#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace platform {

namespace {

std::size_t charactersRead = 0;

int offsetOf(std::size_t position)
{
    return int(std::min<std::size_t>(position, INT_MAX));
}

} // namespace

std::size_t accessibleCharactersRead()
{
    return charactersRead;
}

AccessibleTextView::AccessibleTextView(TextView* view)
    : QAccessibleWidget(view, QAccessible::EditableText)
{
}

TextView* AccessibleTextView::view() const
{
    return static_cast<TextView*>(widget());
}

const TextStore& AccessibleTextView::store() const
{
    return view()->text();
}

std::size_t AccessibleTextView::position(int offset) const
{
    return std::min(std::size_t(std::max(offset, 0)), store().size());
}

bool AccessibleTextView::readOnly() const
{
    const HWND__* record = live(view()->handle());
    return !record || (record->style & ES_READONLY);
}

void* AccessibleTextView::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State AccessibleTextView::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.multiLine = true;
    state.selectableText = true;
    state.focusable = true;
    state.readOnly = readOnly();
    state.editable = !state.readOnly;
    return state;
}

// The value would be the whole document: the text interface gives it by ranges instead.
QString AccessibleTextView::text(QAccessible::Text kind) const
{
    return kind == QAccessible::Value ? QString() : QAccessibleWidget::text(kind);
}

void AccessibleTextView::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    const EditModel& model = view()->model();
    const bool shown = selectionIndex == 0 && model.hasSelection();
    *startOffset = shown ? offsetOf(model.selectionStart()) : 0;
    *endOffset = shown ? offsetOf(model.selectionEnd()) : 0;
}

int AccessibleTextView::selectionCount() const
{
    return view()->model().hasSelection() ? 1 : 0;
}

void AccessibleTextView::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void AccessibleTextView::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        setCursorPosition(cursorPosition());
}

void AccessibleTextView::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        view()->select(long(position(startOffset)), long(position(endOffset)));
}

int AccessibleTextView::cursorPosition() const
{
    return offsetOf(view()->caret());
}

void AccessibleTextView::setCursorPosition(int position)
{
    setSelection(0, position, position);
}

QString AccessibleTextView::text(int startOffset, int endOffset) const
{
    const std::size_t start = position(startOffset);
    const std::size_t end = endOffset < 0 ? store().size() : std::max(start, position(endOffset));
    charactersRead += end - start;
    return toQString(store().text(start, end - start));
}

QString AccessibleTextView::item(std::size_t start, std::size_t end, int* startOffset,
                                 int* endOffset) const
{
    *startOffset = offsetOf(start);
    *endOffset = offsetOf(end);
    return text(*startOffset, *endOffset);
}

QString AccessibleTextView::textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                         int* startOffset, int* endOffset) const
{
    const TextItem found = itemAt(store(), position(offset), boundary);
    return item(found.start, found.end, startOffset, endOffset);
}

QString AccessibleTextView::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                             int* startOffset, int* endOffset) const
{
    const TextItem at = itemAt(store(), position(offset), boundary);
    if (at.start == 0)
        return item(0, 0, startOffset, endOffset);
    const TextItem before = itemAt(store(), at.start - 1, boundary);
    return item(before.start, before.end, startOffset, endOffset);
}

QString AccessibleTextView::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                            int* startOffset, int* endOffset) const
{
    const TextItem at = itemAt(store(), position(offset), boundary);
    const TextItem after = itemAt(store(), at.end, boundary);
    return item(after.start, after.end, startOffset, endOffset);
}

int AccessibleTextView::characterCount() const
{
    return offsetOf(store().size());
}

QRect AccessibleTextView::characterRect(int offset) const
{
    const std::size_t at = position(offset);
    const QPoint start = view()->pointOf(at);
    const QPoint next = at < store().size() ? view()->pointOf(at + 1) : start;
    const int width = next.y() == start.y() ? std::max(next.x() - start.x(), 1) : 1;
    return QRect(view()->viewport()->mapToGlobal(start), QSize(width, view()->lineHeight()));
}

// Layer: hit testing is the mouse's job in this control; a screen reader asks by offsets.
int AccessibleTextView::offsetAtPoint(const QPoint&) const
{
    return -1;
}

void AccessibleTextView::scrollToSubstring(int startIndex, int endIndex)
{
    setSelection(0, startIndex, endIndex);
    view()->scrollCaret();
}

// No runs of different looks: the whole text is one.
QString AccessibleTextView::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void AccessibleTextView::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void AccessibleTextView::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void AccessibleTextView::replaceText(int startOffset, int endOffset, const QString& text)
{
    if (readOnly())
        return;
    setSelection(0, startOffset, endOffset);
    view()->replaceSelection(toWString(text), true);
}

} // namespace platform
