// Reading and composing the text of "settings.ini". The file is 8-bit text read and written the
// way the runtime's text mode does on Windows, so files of every version read the same.
#include "format/settings_text.h"

#include <cstdint>
#include <optional>

namespace {

constexpr char endOfText = 0x1A;

// Each byte is the character with the same code, 0 to 255.
std::wstring widened(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text += wchar_t(static_cast<unsigned char>(byte));
    return text;
}

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

// Leading blanks, an optional sign, then digits up to the first non-digit. No digits, or a
// number outside the 32-bit range, gives nothing: the field keeps its value.
std::optional<int> decimalValue(std::wstring_view value)
{
    size_t at = 0;
    while (at < value.size() && isBlank(value[at]))
        ++at;
    const bool negative = at < value.size() && value[at] == L'-';
    if (at < value.size() && (value[at] == L'-' || value[at] == L'+'))
        ++at;
    const size_t firstDigit = at;
    std::int64_t magnitude = 0;
    for (; at < value.size() && value[at] >= L'0' && value[at] <= L'9'; ++at) {
        magnitude = magnitude * 10 + (value[at] - L'0');
        if (magnitude > std::int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (at == firstDigit)
        return std::nullopt;
    const std::int64_t number = negative ? -magnitude : magnitude;
    if (number > INT32_MAX)
        return std::nullopt;
    return int(number);
}

void applyLine(std::wstring_view line, FontChoice& choice)
{
    const size_t equals = line.find(L'=');
    const std::wstring_view value = equals == line.npos ? line : line.substr(equals + 1);
    if (line.find(L"fontSize") != line.npos)
        choice.size = decimalValue(value).value_or(choice.size);
    if (line.find(L"fontWeight") != line.npos)
        choice.weight = decimalValue(value).value_or(choice.weight);
    if (line.find(L"fontItalic") != line.npos)
        choice.italic = value == L"1";
    if (line.find(L"fontFamily") != line.npos)
        choice.family = value.substr(0, value.find(L'\0'));
}

} // namespace

void readSettingsText(std::string_view fileBytes, FontChoice& choice)
{
    // Text mode: Ctrl+Z ends the file, and a CR right before LF is part of the line end.
    const std::wstring text = widened(fileBytes.substr(0, fileBytes.find(endOfText)));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        const size_t next = end == text.npos ? text.size() : end + 1;
        if (end == text.npos)
            end = text.size();
        else if (end > start && text[end - 1] == L'\r')
            --end;
        applyLine(std::wstring_view(text).substr(start, end - start), choice);
        start = next;
    }
}

std::string settingsText(int size, int weight, bool italic, const wchar_t* family)
{
    std::string text = "[Quenwrite settings]\r\nfontSize=" + std::to_string(size) +
                       "\r\nfontWeight=" + std::to_string(weight) +
                       "\r\nfontItalic=" + (italic ? "1" : "0") + "\r\nfontFamily=";
    // One byte per character; the families on offer and those read from the file never go
    // above 255, anything else would not survive a round trip.
    for (const wchar_t* c = family; *c; ++c)
        text += static_cast<unsigned>(*c) <= 0xFF ? char(*c) : '?';
    return text;
}
