// The text-file reader and writer over the layer's code-page conversions. The input is a file's
// bytes, opened as each encoding would meet it (as it is, behind each byte-order mark, and read
// as 8-bit and as UTF-8 whatever it looks like): saved unchanged it must give the same bytes back.
// The input is also a text of the edit control (four bytes per character), which each encoding
// must store as the simple rules say and read back unchanged.
#include "encoding/text_detect.h"
#include "encoding/text_reader.h"
#include "encoding/text_writer.h"
#include "fuzz/check.h"
#include "platform/win32.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The layer keeps the last error beside its file calls, which need Qt; the conversions need only
// these two.
namespace {
DWORD lastError = ERROR_SUCCESS;
}
DWORD GetLastError()
{
    return lastError;
}
void SetLastError(DWORD error)
{
    lastError = error;
}

namespace {

constexpr Encoding encodings[] = {Encoding::eightBit,          Encoding::utf8,
                                  Encoding::utf8WithMark,      Encoding::utf16Le,
                                  Encoding::utf16Be,           Encoding::utf16LeWithoutMark,
                                  Encoding::utf16BeWithoutMark};
constexpr LineEnd lineEnds[] = {LineEnd::crLf, LineEnd::lf, LineEnd::cr};

// Opens the file in the format and saves it unchanged, in pieces as the editor does; a split
// point taken from the bytes splits the reading too.
void checkRoundTrip(const std::string& file, TextFormat format, const DetectedFormat& detected)
{
    const std::size_t split = file.empty() ? 0 : std::uint8_t(file.back()) % (file.size() + 1);
    TextReader reader(format);
    reader.append(std::string_view(file).substr(0, split));
    std::wstring text;
    reader.take(text);
    reader.append(std::string_view(file).substr(split));
    std::size_t zeros = 0;
    text += reader.finish(&zeros);
    require(text == textFromBytes(file, format), "a split read gives the whole read's text");
    // Zero characters are left out and a file that mixes CR LF and LF is written in one form,
    // the user told: only those change.
    if (zeros > 0 || mixesLineEnds(detected.lineEnds))
        return;
    require(firstUnstorable(text, format.encoding) == std::wstring::npos,
            "an opened text can be stored in its own encoding");
    std::string saved;
    TextWriter writer(text, format);
    char piece[16];
    while (const std::size_t count = writer.write(piece, sizeof piece))
        saved.append(piece, count);
    require(saved == file, "open and save give back the same bytes");
}

void checkFileBytes(std::string_view bytes)
{
    const std::string data(bytes);
    const DetectedFormat detected = detectFormat(data);
    checkRoundTrip(data, detected.format, detected);
    // Open reads a file in pieces: three of them, cut where the bytes say, are recognised alike.
    FormatDetector pieces;
    const std::size_t first =
        data.empty() ? 0 : std::size_t(static_cast<unsigned char>(data[0])) % (data.size() + 1);
    const std::size_t second = first + (data.size() - first) / 2;
    pieces.add(std::string_view(data).substr(0, first));
    pieces.add(std::string_view(data).substr(first, second - first));
    pieces.add(std::string_view(data).substr(second));
    const DetectedFormat inPieces = pieces.finish();
    require(inPieces.format.encoding == detected.format.encoding &&
                inPieces.format.lineEnd == detected.format.lineEnd &&
                inPieces.lineEnds.crLf == detected.lineEnds.crLf &&
                inPieces.lineEnds.lf == detected.lineEnds.lf &&
                inPieces.lineEnds.cr == detected.lineEnds.cr,
            "a file read in pieces is recognised as the whole file");
    // Line ends sit on the same bytes in 8-bit and UTF-8: either reading keeps every byte.
    for (const Encoding encoding : {Encoding::eightBit, Encoding::utf8}) {
        if (markOf(detected.format.encoding).empty())
            checkRoundTrip(data, {encoding, detected.format.lineEnd}, detected);
    }
    for (const Encoding marked : {Encoding::utf8WithMark, Encoding::utf16Le, Encoding::utf16Be}) {
        const std::string file = std::string(markOf(marked)) + data;
        const DetectedFormat behindMark = detectFormat(file);
        if (behindMark.format.encoding == marked)
            checkRoundTrip(file, behindMark.format, behindMark);
    }
}

bool in1252(char32_t point)
{
    static const std::u32string upper = U"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6"
                                        U"\u2030\u0160\u2039\u0152\u008D\u017D\u008F\u0090\u2018"
                                        U"\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161"
                                        U"\u203A\u0153\u009D\u017E\u0178";
    return point < 0x80 || (point >= 0xA0 && point <= 0xFF) ||
           upper.find(point) != std::u32string::npos;
}

// The rule stated the simple way: 8-bit holds the characters of 1252, UTF-8 every character,
// UTF-16 every unit. (The texts made below hold no surrogates.)
std::size_t expectedUnstorable(std::wstring_view text, Encoding encoding)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto point = char32_t(text[i]);
        const bool stored = encoding == Encoding::eightBit ? in1252(point) : point <= 0x10FFFF;
        if (!stored)
            return i;
    }
    return std::wstring::npos;
}

void checkEditText(const std::uint8_t* data, std::size_t size)
{
    // Small values are likely, so line ends, 1252 and the first unstorable ones all occur. A CR
    // or LF becomes a whole line break and a zero or a surrogate a letter, as typing gives them.
    std::wstring text;
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        std::uint32_t value;
        std::memcpy(&value, data + i, 4);
        const std::uint32_t range[] = {0x100, 0x200, 0x10000, 0x120000};
        auto unit = value % range[value >> 30];
        if (unit == '\r' || unit == '\n')
            text += L"\r\n";
        else
            text += wchar_t(unit == 0 || (unit >= 0xD800 && unit <= 0xDFFF) ? 'z' : unit);
    }
    for (const Encoding encoding : encodings) {
        const std::size_t unstorable = firstUnstorable(text, encoding);
        require(unstorable == expectedUnstorable(text, encoding),
                "the first character the encoding cannot store is found");
        if (unstorable != std::wstring::npos) {
            const TextPlace place = placeOf(text, unstorable);
            require(place.line >= 1 && place.column >= 1 && place.column <= unstorable + 1,
                    "the unstorable character has a place");
            continue;
        }
        for (const LineEnd lineEnd : lineEnds) {
            const TextFormat format{encoding, lineEnd};
            require(textFromBytes(bytesFromText(text, format), format) == text,
                    "a saved text opens as the same text");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkFileBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    checkEditText(data, size);
    return 0;
}
