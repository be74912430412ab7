// Reading a stretch of the edit control's text.
#include "ui/text_range.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// EM_GETLINE is told the buffer's size in its first WORD.
constexpr std::size_t longestForGetLine = 0xFFFF;

// The text from its start to the end of the stretch in one copy (WM_GETTEXT), the stretch cut
// from it.
bool readPrefix(HWND edit, std::size_t start, std::size_t count, std::wstring& text)
{
    const std::size_t end = start + count;
    text.resize(end + 1);
    const int copied = GetWindowTextW(edit, text.data(), int(end + 1));
    if (copied < 0 || std::size_t(copied) != end) {
        text.clear();
        return false;
    }
    text.resize(end);
    text.erase(0, start);
    return true;
}

// The first count characters of the line, which has at least that many.
bool appendLineStart(HWND edit, std::size_t line, std::size_t count, std::vector<wchar_t>& buffer,
                     std::wstring& text)
{
    buffer.resize(std::max<std::size_t>(count, 2));
    const WORD room = WORD(count);
    std::memcpy(buffer.data(), &room, sizeof room);
    const LRESULT copied =
        SendMessageW(edit, EM_GETLINE, WPARAM(line), reinterpret_cast<LPARAM>(buffer.data()));
    if (copied != LRESULT(count))
        return false;
    text.append(buffer.data(), count);
    return true;
}

bool readLines(HWND edit, std::size_t start, std::size_t end, std::wstring& text)
{
    auto line = std::size_t(SendMessageW(edit, EM_LINEFROMCHAR, WPARAM(start), 0));
    auto at = std::size_t(SendMessageW(edit, EM_LINEINDEX, WPARAM(line), 0));
    std::vector<wchar_t> buffer;
    while (at < end) {
        const auto length = std::size_t(SendMessageW(edit, EM_LINELENGTH, WPARAM(at), 0));
        const std::size_t wanted = std::min(length, end - at);
        if (wanted > longestForGetLine)
            return false;
        if (wanted > 0) {
            const std::size_t before = text.size();
            if (!appendLineStart(edit, line, wanted, buffer, text))
                return false;
            if (at < start)
                text.erase(before, start - at);
        }
        if (at + length >= end)
            return true;
        const LRESULT next = SendMessageW(edit, EM_LINEINDEX, WPARAM(line + 1), 0);
        if (next < 0 || std::size_t(next) != at + length + 2)
            return false;
        const std::wstring_view lineBreak = L"\r\n";
        const std::size_t breakAt = at + length;
        const std::size_t from = std::max(start, breakAt);
        text.append(
            lineBreak.substr(from - breakAt, std::min<std::size_t>(end, breakAt + 2) - from));
        at = std::size_t(next);
        ++line;
    }
    return true;
}

} // namespace

bool readText(HWND edit, std::size_t start, std::size_t count, std::wstring& text)
{
    text.clear();
    if (count == 0)
        return true;
    // Many lines near the start (a Replace all's stretch) come faster in one copy than a
    // message or three a line; a stretch far into the text does not pay for what is before it.
    constexpr std::size_t manyCharacters = 1 << 16;
    if (count >= manyCharacters && start <= count)
        return readPrefix(edit, start, count, text);
    if (readLines(edit, start, start + count, text) && text.size() == count)
        return true;
    return readPrefix(edit, start, count, text);
}
