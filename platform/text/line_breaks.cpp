#include "platform/text/line_breaks.h"

namespace platform::lineBreaks {

// Both copy the text between line ends a run at a time: a paste of thousands of lines is read
// with the key press that pastes it.
std::wstring fromClipboard(std::wstring_view text)
{
    std::wstring windows;
    windows.reserve(text.size() + text.size() / 32);
    std::size_t from = 0;
    for (std::size_t end; (end = text.find_first_of(L"\r\n", from)) != text.npos; from = end + 1) {
        windows.append(text.substr(from, end - from));
        windows += L"\r\n";
        if (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n')
            ++end;
    }
    windows.append(text.substr(from));
    return windows;
}

std::wstring toClipboard(std::wstring_view text)
{
    std::wstring copied;
    copied.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t end; (end = text.find(L"\r\n", from)) != text.npos; from = end + 2) {
        copied.append(text.substr(from, end - from));
        copied += L'\n';
    }
    copied.append(text.substr(from));
    return copied;
}

} // namespace platform::lineBreaks
