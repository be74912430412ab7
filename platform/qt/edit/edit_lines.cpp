// The multi-line edit control's lines, positions and text handle: EM_GETLINECOUNT, EM_LINEINDEX,
// EM_LINELENGTH, EM_GETLINE, EM_LINEFROMCHAR, EM_POSFROMCHAR and EM_GETHANDLE, and where the
// caret is (GetCaretPos). Lines are what CR LF separates (the control does not wrap), counted
// from 0. Each answer comes from the store's line index, so none costs more than a search in it.
#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/windows/window_p.h"

#include <QLineEdit>
#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// The position a message names, -1 meaning the caret.
std::size_t positionOrCaret(const TextView& edit, WPARAM position)
{
    if (LONG_PTR(position) < 0)
        return edit.caret();
    return std::min(std::size_t(position), edit.text().size());
}

LRESULT lineIndex(const TextView& edit, WPARAM line)
{
    const TextStore& text = edit.text();
    if (LONG_PTR(line) < 0)
        return LRESULT(text.lineStart(text.lineOf(edit.caret())));
    return line < text.lineCount() ? LRESULT(text.lineStart(line)) : -1;
}

LRESULT lineLength(const TextView& edit, WPARAM position)
{
    const TextStore& text = edit.text();
    if (LONG_PTR(position) >= 0) {
        if (position > text.size())
            return 0;
        return LRESULT(text.lineLength(text.lineOf(position)));
    }
    // -1: what the selection leaves of the lines it touches.
    const EditModel& model = edit.model();
    const std::size_t first = text.lineOf(model.selectionStart());
    const std::size_t last = text.lineOf(model.selectionEnd());
    const std::size_t lastEnd = text.lineStart(last) + text.lineLength(last);
    return LRESULT(model.selectionStart() - text.lineStart(first) +
                   (lastEnd > model.selectionEnd() ? lastEnd - model.selectionEnd() : 0));
}

// Copies at most as many characters as the buffer's first WORD says, without a terminating zero.
LRESULT getLine(const TextView& edit, WPARAM line, LPARAM buffer)
{
    const TextStore& text = edit.text();
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (!out || line >= text.lineCount())
        return 0;
    WORD room = 0;
    std::memcpy(&room, out, sizeof room);
    const std::size_t count = std::min(std::size_t(room), text.lineLength(line));
    return LRESULT(text.copy(text.lineStart(line), count, out));
}

// Windows: -1 means the line of the selection's start, which is the caret's without one.
LRESULT lineFromChar(const TextView& edit, WPARAM position)
{
    const std::size_t at =
        LONG_PTR(position) < 0 ? edit.model().selectionStart() : positionOrCaret(edit, position);
    return LRESULT(edit.text().lineOf(at));
}

LRESULT packedPoint(QPoint point)
{
    return LRESULT(MAKELONG(WORD(short(point.x())), WORD(short(point.y()))));
}

} // namespace

const wchar_t* TextView::lockText()
{
    const wchar_t* text = flat_.update(model_.text(), model_.takeEditedFrom());
    if (text)
        ++locks_;
    return text;
}

void TextView::unlockText()
{
    locks_ = std::max(0, locks_ - 1);
}

bool lineMessage(TextView* edit, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                 LRESULT& result)
{
    switch (message) {
    case EM_GETLINECOUNT:
        result = LRESULT(edit->text().lineCount());
        return true;
    case EM_LINEINDEX:
        result = lineIndex(*edit, wParam);
        return true;
    case EM_LINELENGTH:
        result = lineLength(*edit, wParam);
        return true;
    case EM_GETLINE:
        result = getLine(*edit, wParam, lParam);
        return true;
    case EM_LINEFROMCHAR:
        result = lineFromChar(*edit, wParam);
        return true;
    case EM_POSFROMCHAR:
        // Windows: there is no character at the end of the text, so no place for it either.
        result = wParam < edit->text().size() ? packedPoint(edit->pointOf(wParam)) : -1;
        return true;
    case EM_GETHANDLE:
        // Layer: the handle is the control's own window handle, which lives as long as it does.
        result = reinterpret_cast<LRESULT>(hwnd);
        return true;
    default:
        return false;
    }
}

} // namespace platform

using namespace platform;

BOOL GetCaretPos(LPPOINT point)
{
    HWND focus = GetFocus();
    if (!point || !focus)
        return FALSE;
    QPoint at;
    if (const TextView* edit = textViewOf(focus))
        at = edit->pointOf(edit->caret());
    else if (const auto* box = qobject_cast<const QLineEdit*>(focus->widget.data()))
        at = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().topLeft();
    else
        return FALSE;
    *point = {at.x(), at.y()};
    return TRUE;
}
