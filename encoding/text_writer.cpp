// Writing the edit control's text in a file's format: a chunk at a time, the line ends first,
// then through the platform's code-page conversion between the stray bytes.
#include "encoding/text_writer.h"

#include "encoding/text_units.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr std::size_t chunkSize = 64 * 1024;
constexpr UINT westernEuropean = 1252;
// One wide character never needs more than four bytes in any of the encodings.
constexpr std::size_t mostBytes = 4;

bool pairAt(std::wstring_view units, std::size_t at)
{
    return isHighSurrogate(std::uint32_t(units[at])) && at + 1 < units.size() &&
           isLowSurrogate(std::uint32_t(units[at + 1]));
}

// A stray byte is a lone low surrogate in its range: one that follows a high surrogate is the
// second half of a pair.
bool strayByteAt(std::wstring_view units, std::size_t at)
{
    const std::uint32_t unit = std::uint32_t(units[at]) - strayByteBase;
    return unit >= 0x80 && unit <= 0xFF &&
           !(at > 0 && isHighSurrogate(std::uint32_t(units[at - 1])));
}

// The first unit from at on that is a surrogate or beyond U+10FFFF, or units.size(). Most texts
// hold none, so whole groups are tested at once, which the compiler turns into vector code.
std::size_t nextUnusual(std::wstring_view units, std::size_t at)
{
    constexpr std::size_t group = 64;
    for (; at + group <= units.size(); at += group) {
        std::uint32_t unusual = 0;
        for (std::size_t i = 0; i < group; ++i) {
            const auto unit = std::uint32_t(units[at + i]);
            unusual |= std::uint32_t(unit - 0xD800 < 0x800) | std::uint32_t(unit > 0x10FFFF);
        }
        if (unusual)
            break;
    }
    for (; at < units.size(); ++at) {
        const auto unit = std::uint32_t(units[at]);
        if (unit - 0xD800 < 0x800 || unit > 0x10FFFF)
            return at;
    }
    return units.size();
}

std::size_t nextStrayByte(std::wstring_view units, std::size_t at)
{
    for (at = nextUnusual(units, at); at < units.size(); at = nextUnusual(units, at + 1)) {
        if (strayByteAt(units, at))
            return at;
    }
    return units.size();
}

UINT codePageOf(Encoding encoding)
{
    return encoding == Encoding::eightBit ? westernEuropean : CP_UTF8;
}

// Converts a chunk without stray bytes; 1252 gets no look-alike for a character it lacks.
std::size_t convert(UINT codePage, std::wstring_view units, char* out)
{
    if (units.empty())
        return 0;
    const DWORD flags = codePage == westernEuropean ? WC_NO_BEST_FIT_CHARS : 0;
    // With room for every character and these flags the conversion cannot fail: what 1252 lacks
    // becomes its default character, which firstUnstorable has ruled out beforehand.
    return std::size_t(WideCharToMultiByte(codePage, flags, units.data(), int(units.size()), out,
                                           int(units.size() * mostBytes), nullptr, nullptr));
}

void putUnit(std::uint32_t unit, bool bigEndian, char*& out)
{
    *out++ = char(bigEndian ? unit >> 8 : unit & 0xFF);
    *out++ = char(bigEndian ? unit & 0xFF : unit >> 8);
}

std::size_t encodeUtf16(std::wstring_view units, bool bigEndian, char* out)
{
    char* const start = out;
    for (const wchar_t unit : units) {
        const auto point = std::uint32_t(unit);
        if (point > 0xFFFF) {
            putUnit(0xD800 + ((point - 0x10000) >> 10), bigEndian, out);
            putUnit(0xDC00 + ((point - 0x10000) & 0x3FF), bigEndian, out);
        } else {
            putUnit(point, bigEndian, out);
        }
    }
    return std::size_t(out - start);
}

// Whether the platform stores the character in 1252, without a look-alike.
bool in1252(std::wstring_view character)
{
    char bytes[mostBytes];
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(westernEuropean, WC_NO_BEST_FIT_CHARS, character.data(),
                        int(character.size()), bytes, int(sizeof bytes), nullptr, &usedDefault);
    return !usedDefault;
}

// ASCII is itself in every encoding: most texts are all ASCII, and this one pass, without an
// early end so that the compiler turns it into vector code, is all they need.
bool allAscii(std::wstring_view units)
{
    std::uint32_t bits = 0;
    for (const wchar_t unit : units)
        bits |= std::uint32_t(unit);
    return bits < 0x80;
}

// Latin-1 outside 0x80 to 0x9F is in 1252 as it stands: most texts need no conversion to tell.
// A loop without an early end, which the compiler turns into vector code.
bool plainly1252(std::wstring_view units)
{
    std::uint32_t outside = 0;
    for (const wchar_t unit : units) {
        const auto code = std::uint32_t(unit);
        outside |= std::uint32_t(code > 0xFF) | std::uint32_t(code - 0x80 < 0x20);
    }
    return outside == 0;
}

// The first character of a piece without surrogates that 1252 lacks: a quarter chunk is converted
// at once, and only a quarter that needed the default character is searched.
std::size_t firstOutside1252(std::wstring_view units)
{
    constexpr std::size_t quarter = chunkSize / 4;
    std::vector<char> bytes(quarter);
    for (std::size_t start = 0; start < units.size(); start += quarter) {
        const std::wstring_view part = units.substr(start, quarter);
        if (plainly1252(part))
            continue;
        BOOL usedDefault = FALSE;
        WideCharToMultiByte(westernEuropean, WC_NO_BEST_FIT_CHARS, part.data(), int(part.size()),
                            bytes.data(), int(bytes.size()), nullptr, &usedDefault);
        if (!usedDefault)
            continue;
        for (std::size_t i = 0; i < part.size(); ++i) {
            if (!in1252(part.substr(i, 1)))
                return start + i;
        }
    }
    return std::wstring_view::npos;
}

} // namespace

TextWriter::TextWriter(std::wstring_view text, TextFormat format, bool withMark,
                       LineEndPlace* place)
    : rest_(text), format_(format), mark_(withMark ? markOf(format.encoding) : std::string_view()),
      place_(place)
{
}

std::size_t TextWriter::write(char* out, std::size_t room)
{
    const std::size_t markBytes = mark_.copy(out, room);
    mark_.remove_prefix(markBytes);
    std::size_t used = markBytes;
    while (!rest_.empty() && room - used >= 2 * mostBytes) {
        // One unit fewer than fits, for the LF of a CR LF or the low half of a pair, which are
        // never taken apart.
        std::size_t count = std::min({rest_.size(), (room - used) / mostBytes - 1, chunkSize});
        if (count < rest_.size() &&
            ((rest_[count - 1] == L'\r' && rest_[count] == L'\n') || pairAt(rest_, count - 1)))
            ++count;
        used += encode(withFileLineEnds(rest_.substr(0, count)), out + used);
        rest_.remove_prefix(count);
    }
    return used;
}

std::wstring_view TextWriter::withFileLineEnds(std::wstring_view units)
{
    const bool asInFile = format_.lineEnd == LineEnd::asInFile && place_ && place_->forms;
    if (format_.lineEnd == LineEnd::crLf || (format_.lineEnd == LineEnd::asInFile && !asInFile))
        return units;
    // LF alone drops the CR of each pair, CR alone its LF; as in the file, each pair is the one
    // the file had on that line.
    const bool keepCr = format_.lineEnd == LineEnd::cr;
    converted_.clear();
    for (std::size_t at = 0; at < units.size();) {
        const std::size_t cr = std::min(units.find(L'\r', at), units.size());
        const bool pair = cr + 1 < units.size() && units[cr + 1] == L'\n';
        converted_.append(units.substr(at, cr - at));
        if (pair && asInFile && !lfAlone())
            converted_ += L"\r\n";
        else if (cr < units.size())
            converted_ += pair && !keepCr ? L'\n' : L'\r';
        at = cr + (pair ? 2 : 1);
    }
    return converted_;
}

bool TextWriter::lfAlone()
{
    const LineEndForms& forms = *place_->forms;
    const std::size_t line = place_->line++;
    return line < forms.lf.size() ? bool(forms.lf[line]) : forms.beyond == LineEnd::lf;
}

std::size_t TextWriter::encode(std::wstring_view units, char* out)
{
    if (isUtf16(format_.encoding))
        return encodeUtf16(units, isBigEndian(format_.encoding), out);
    if (allAscii(units)) {
        std::transform(units.begin(), units.end(), out, [](wchar_t unit) { return char(unit); });
        return units.size();
    }
    const UINT codePage = codePageOf(format_.encoding);
    std::size_t written = 0;
    for (std::size_t at = 0; at < units.size();) {
        const std::size_t stray = nextStrayByte(units, at);
        written += convert(codePage, units.substr(at, stray - at), out + written);
        if (stray < units.size())
            out[written++] = char(units[stray] - strayByteBase);
        at = stray + 1;
    }
    return written;
}

std::string bytesFromText(std::wstring_view text, TextFormat format, const LineEndForms* forms)
{
    std::string bytes;
    LineEndPlace place{forms};
    TextWriter writer(text, format, true, &place);
    char piece[4096];
    while (const std::size_t count = writer.write(piece, sizeof piece))
        bytes.append(piece, count);
    return bytes;
}

std::size_t firstUnstorable(std::wstring_view text, Encoding encoding)
{
    const bool eightBit = encoding == Encoding::eightBit;
    const bool utf16 = isUtf16(encoding);
    if (allAscii(text))
        return std::wstring_view::npos;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t unusual = nextUnusual(text, at);
        if (eightBit) {
            const std::size_t outside = firstOutside1252(text.substr(at, unusual - at));
            if (outside != std::wstring_view::npos)
                return at + outside;
        }
        if (unusual == text.size())
            break;
        // A named 32-bit code: where wchar_t has 16 bits the test cannot be true, and says so.
        const auto code = std::uint32_t(text[unusual]);
        const bool beyond = code > 0x10FFFF;
        const bool pair = pairAt(text, unusual);
        // UTF-16 holds any unit; UTF-8 a pair and a stray byte; 8-bit only a stray byte.
        if (beyond || (!utf16 && !strayByteAt(text, unusual) && (eightBit || !pair)))
            return unusual;
        at = unusual + (pair ? 2 : 1);
    }
    return std::wstring_view::npos;
}

TextPlace placeOf(std::wstring_view text, std::size_t offset)
{
    TextPlace place{1, 1};
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == L'\n') {
            ++place.line;
            place.column = 1;
        } else if ((text[i] != L'\r' || i + 1 >= text.size() || text[i + 1] != L'\n') &&
                   !(i > 0 && pairAt(text, i - 1))) {
            ++place.column;
        }
    }
    return place;
}

char32_t codePointAt(std::wstring_view text, std::size_t offset)
{
    const auto unit = std::uint32_t(text[offset]);
    if (pairAt(text, offset)) {
        const auto low = std::uint32_t(text[offset + 1]);
        return char32_t(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    }
    return char32_t(unit);
}
