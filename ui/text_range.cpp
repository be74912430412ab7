// Reading a stretch of the edit control's text.
#include "ui/text_range.h"

#include "ui/window_parts.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// EM_GETLINE is told the buffer's size in its first WORD.
constexpr std::size_t longestForGetLine = 0xFFFF;

bool readWhole(HWND edit, std::size_t start, std::size_t count, std::wstring& text)
{
    const WholeText whole = wholeText(edit);
    if (whole.text.size() < start + count)
        return false;
    text.assign(whole.text.substr(start, count));
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
    if (readLines(edit, start, start + count, text) && text.size() == count)
        return true;
    return readWhole(edit, start, count, text);
}
