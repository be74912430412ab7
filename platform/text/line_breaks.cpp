#include "platform/text/line_breaks.h"

namespace platform::lineBreaks {

std::wstring fromClipboard(std::wstring_view text)
{
    std::wstring windows;
    windows.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            windows += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else {
            windows += c;
        }
    }
    return windows;
}

std::wstring toClipboard(std::wstring_view text)
{
    std::wstring copied;
    copied.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            continue;
        copied += text[i];
    }
    return copied;
}

} // namespace platform::lineBreaks
