// The multi-line edit control's lines, positions and text handle: EM_GETLINECOUNT, EM_LINEINDEX,
// EM_LINEFROMCHAR, EM_POSFROMCHAR and EM_GETHANDLE, and where the caret is (GetCaretPos). Each
// answer comes from the store's line index, so none costs more than a search in it.
#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/windows/window_p.h"

#include <QLineEdit>

namespace platform {

namespace {

// The position a message names, -1 meaning the caret.
std::size_t positionOrCaret(const TextView* edit, WPARAM wParam)
{
    const long position = long(LONG(wParam));
    if (position < 0)
        return edit->caret();
    return std::min(std::size_t(position), edit->text().size());
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

bool lineMessage(TextView* edit, HWND hwnd, UINT message, WPARAM wParam, LRESULT& result)
{
    const TextStore& text = edit->text();
    switch (message) {
    case EM_GETLINECOUNT:
        result = LRESULT(text.lineCount());
        return true;
    case EM_LINEFROMCHAR: {
        // Windows: -1 means the line of the selection's start, which is the caret's without one.
        DWORD start = 0;
        edit->selection(reinterpret_cast<WPARAM>(&start), 0);
        result =
            LRESULT(text.lineOf(long(LONG(wParam)) < 0 ? start : positionOrCaret(edit, wParam)));
        return true;
    }
    case EM_LINEINDEX: {
        const long line = long(LONG(wParam));
        const std::size_t wanted = line < 0 ? text.lineOf(edit->caret()) : std::size_t(line);
        result = wanted < text.lineCount() ? LRESULT(text.lineStart(wanted)) : -1;
        return true;
    }
    case EM_POSFROMCHAR:
        // Windows: there is no character at the end of the text, so no place for it either.
        result = wParam < text.size() ? packedPoint(edit->pointOf(wParam)) : -1;
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
