// The byte and line-end rules between text files and the edit control's text.
#include "document/text_bytes.h"

#include <cstdint>

std::wstring textFromBytes(std::string_view bytes, std::size_t* zeroBytes)
{
    std::wstring text;
    // Most texts gain a CR per line; a tenth more covers lines of ten bytes and up without regrowth.
    text.reserve(bytes.size() + bytes.size() / 10 + 2);
    std::size_t zeros = 0;
    bool lineOpen = false; // the current line has content and still needs its CR LF
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n' || (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            i += byte == '\r';
            text += L"\r\n";
            lineOpen = false;
            continue;
        }
        if (byte == 0)
            ++zeros;
        else
            text += static_cast<wchar_t>(byte);
        lineOpen = true;
    }
    if (lineOpen)
        text += L"\r\n";
    if (zeroBytes)
        *zeroBytes = zeros;
    return text;
}

std::size_t firstUnwritable(std::wstring_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<std::uint32_t>(text[i]) > 0xFF)
            return i;
    }
    return std::wstring_view::npos;
}

std::string bytesFromText(std::wstring_view text)
{
    std::string bytes(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes[i] = static_cast<char>(static_cast<unsigned char>(text[i]));
    return bytes;
}

TextPlace placeOf(std::wstring_view text, std::size_t offset)
{
    TextPlace place{1, 1};
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == L'\n') {
            ++place.line;
            place.column = 1;
        } else if (text[i] != L'\r' || i + 1 >= text.size() || text[i + 1] != L'\n') {
            ++place.column;
        }
    }
    return place;
}

char32_t codePointAt(std::wstring_view text, std::size_t offset)
{
    const auto unit = static_cast<std::uint32_t>(text[offset]);
    if (unit >= 0xD800 && unit <= 0xDBFF && offset + 1 < text.size()) {
        const auto low = static_cast<std::uint32_t>(text[offset + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF)
            return char32_t(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    }
    return char32_t(unit);
}
