// The text-file reader and writer: the input is read as the bytes of a file, and again as a text
// of the edit control (four bytes per character), and both are checked against the line-end and
// byte rules stated the simple way, one line at a time.
#include "document/text_bytes.h"
#include "fuzz/check.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// The rule: the file is a sequence of lines, each ended by LF or CR LF, the last perhaps by the
// end of the file; a line that holds no byte at all after the last line end is no line. Every
// line shows its bytes except the zero bytes, followed by CR LF.
std::wstring expectedText(std::string_view bytes, std::size_t& zeros)
{
    std::wstring text;
    zeros = 0;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        const bool ended = end != std::string_view::npos;
        std::string_view line = bytes.substr(0, ended ? end : bytes.size());
        bytes.remove_prefix(ended ? end + 1 : bytes.size());
        if (ended && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        for (char byte : line) {
            if (byte == 0)
                ++zeros;
            else
                text += wchar_t(static_cast<unsigned char>(byte));
        }
        text += L"\r\n";
    }
    return text;
}

void checkFileBytes(std::string_view bytes)
{
    std::size_t zeros = 7;
    const std::wstring text = textFromBytes(bytes, &zeros);
    std::size_t expectedZeros = 0;
    require(text == expectedText(bytes, expectedZeros), "the text follows the line-end rule");
    require(zeros == expectedZeros, "every zero byte is counted");
    require(firstUnwritable(text) == std::wstring::npos, "a read text is writable");
    // Saving a read text and opening it again gives the same text: nothing is lost or gained.
    const std::string written = bytesFromText(text);
    require(written.size() == text.size(), "one byte per character");
    std::size_t zerosAgain = 7;
    require(textFromBytes(written, &zerosAgain) == text, "read, write, read gives the same text");
    require(zerosAgain == 0, "a written text holds no zero byte");
    require(textFromBytes(bytes) == text, "the zero count is optional");
}

// Where the character at offset sits: the line is one more than the LFs before it, the column
// one more than the characters since the last LF, a CR right before the LF at offset not counted.
TextPlace expectedPlace(std::wstring_view text, std::size_t offset)
{
    const std::wstring_view before = text.substr(0, offset);
    std::size_t line = 1;
    for (wchar_t c : before)
        line += c == L'\n';
    const std::size_t lastLf = before.rfind(L'\n');
    const std::size_t lineStart = lastLf == std::wstring_view::npos ? 0 : lastLf + 1;
    std::size_t column = offset - lineStart + 1;
    if (offset > lineStart && offset < text.size() && text[offset - 1] == L'\r' &&
        text[offset] == L'\n')
        --column;
    return {line, column};
}

void checkEditText(const std::uint8_t* data, std::size_t size)
{
    // Small values are likely, so line ends, Latin-1 and the first unwritable ones all occur.
    std::wstring text;
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        std::uint32_t value;
        std::memcpy(&value, data + i, 4);
        const std::uint32_t range[] = {0x100, 0x200, 0x10000, 0x110000};
        text += wchar_t(value % range[value >> 30]);
    }
    std::size_t unwritable = std::wstring::npos;
    for (std::size_t i = 0; i < text.size() && unwritable == std::wstring::npos; ++i) {
        if (std::uint32_t(text[i]) > 0xFF)
            unwritable = i;
    }
    require(firstUnwritable(text) == unwritable, "the first character above 255 is found");
    const std::wstring writable = text.substr(0, unwritable);
    const std::string bytes = bytesFromText(writable);
    require(bytes.size() == writable.size(), "one byte per written character");
    for (std::size_t i = 0; i < bytes.size(); ++i)
        require(static_cast<unsigned char>(bytes[i]) == std::uint32_t(writable[i]),
                "each character is written as the byte of its value");
    if (unwritable != std::wstring::npos) {
        const TextPlace place = placeOf(text, unwritable);
        const TextPlace expected = expectedPlace(text, unwritable);
        require(place.line == expected.line && place.column == expected.column,
                "the place of the unwritable character");
        const std::uint32_t unit = std::uint32_t(text[unwritable]);
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && unwritable + 1 < text.size() &&
                          text[unwritable + 1] >= 0xDC00 && text[unwritable + 1] <= 0xDFFF;
        const char32_t code = codePointAt(text, unwritable);
        require(pair ? code >= 0x10000 && code <= 0x10FFFF : code == unit,
                "the code point is the character, or the one its surrogate pair stands for");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkFileBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    checkEditText(data, size);
    return 0;
}
