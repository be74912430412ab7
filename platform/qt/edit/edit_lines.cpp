// The multi-line edit control's line messages: lines are what CR LF separates (the control does
// not wrap), counted from 0, and positions are the text's own.
#include "platform/qt/edit/text_view_p.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// The line a position is on, -1 standing for the caret's.
std::size_t lineAt(const TextView& edit, WPARAM position)
{
    const TextStore& text = edit.text();
    const auto at = LONG_PTR(position);
    return text.lineOf(at < 0 ? edit.model().caret() : std::min(std::size_t(at), text.size()));
}

LRESULT lineIndex(const TextView& edit, WPARAM line)
{
    const TextStore& text = edit.text();
    if (LONG_PTR(line) < 0)
        return LRESULT(text.lineStart(lineAt(edit, line)));
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

} // namespace

bool lineMessage(const TextView& edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case EM_GETLINECOUNT:
        result = LRESULT(edit.text().lineCount());
        return true;
    case EM_LINEINDEX:
        result = lineIndex(edit, wParam);
        return true;
    case EM_LINELENGTH:
        result = lineLength(edit, wParam);
        return true;
    case EM_GETLINE:
        result = getLine(edit, wParam, lParam);
        return true;
    default:
        return false;
    }
}

} // namespace platform
