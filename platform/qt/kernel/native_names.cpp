// File names between the file system's bytes and the editor's wide text. Linux names are bytes,
// mostly UTF-8; a byte that is no part of a UTF-8 character is kept as the lone surrogate
// U+DC00 + byte, which no character is, so that such a name still reaches its own file and the
// editor can tell that it is not text.
#include "platform/qt/kernel/files_p.h"

#include <QString>

namespace {

constexpr char32_t escapeBase = 0xDC00;

// The character of a well-formed UTF-8 sequence at the start of bytes, and its length; 0 when
// the bytes start with none.
std::size_t characterAt(std::string_view bytes, char32_t& character)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char first = byte(0);
    if (first < 0x80) {
        character = first;
        return 1;
    }
    const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 0;
    if (length == 0 || first > 0xF4 || bytes.size() < length)
        return 0;
    char32_t value = first & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    character = value;
    return length;
}

void appendUtf8(char32_t c, std::string& bytes)
{
    bytes += QString::fromUcs4(&c, 1).toStdString();
}

} // namespace

namespace platform {

std::wstring nameFromNative(std::string_view bytes)
{
    std::wstring name;
    while (!bytes.empty()) {
        char32_t character = 0;
        std::size_t length = characterAt(bytes, character);
        if (length == 0) {
            character = escapeBase + static_cast<unsigned char>(bytes[0]);
            length = 1;
        }
        name += wchar_t(character);
        bytes.remove_prefix(length);
    }
    return name;
}

std::string nativeFromName(std::wstring_view name)
{
    std::string bytes;
    for (const wchar_t unit : name) {
        const auto c = char32_t(unit);
        if (c >= escapeBase + 0x80 && c <= escapeBase + 0xFF)
            bytes += char(c - escapeBase);
        else
            appendUtf8(c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c, bytes);
    }
    return bytes;
}

} // namespace platform
