// KERNEL32's conversions between 8-bit text and wide characters for code page 1252 and UTF-8,
// written out here rather than taken from Qt: Windows' own 1252 table (its five unassigned bytes
// map to the C1 controls of the same value, both ways) and Windows' answers to invalid input,
// at the speed of a hundred-megabyte file. Qt-free, so the fuzzers build it too.
#include "platform/win32.h"

#include <cstring>
#include <optional>
#include <type_traits>

namespace {

static_assert(sizeof(wchar_t) == 4, "the layer's wide characters are 32 bits");

constexpr UINT westernEuropean = 1252;
constexpr wchar_t replacement = 0xFFFD;
constexpr char defaultByte = '?';

// Bytes 0x80 to 0x9F of code page 1252; 0x81, 0x8D, 0x8F, 0x90 and 0x9D keep their own value.
constexpr wchar_t upper1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int fail(DWORD error)
{
    SetLastError(error);
    return 0;
}

bool isHigh(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLow(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Where converted units go: counted only when there is no buffer (the size query), else written
// while they fit.
template <typename Unit> class Output {
public:
    Output(Unit* buffer, std::size_t room) : buffer_(buffer), room_(room) {}

    // Room for count more units; false once the buffer is too small.
    bool reserve(std::size_t count) { return !buffer_ || used_ + count <= room_; }
    void put(Unit unit)
    {
        if (buffer_)
            buffer_[used_] = unit;
        ++used_;
    }
    Unit* next() const { return buffer_ ? buffer_ + used_ : nullptr; }
    void advance(std::size_t count) { used_ += count; }
    std::size_t used() const { return used_; }

private:
    Unit* buffer_;
    std::size_t room_;
    std::size_t used_ = 0;
};

// ASCII goes in runs of this many units, each tested and copied with vector instructions.
constexpr std::size_t asciiRun = 32;

template <typename Unit> bool asciiRunAt(const Unit* units)
{
    // A copy in hand, or-ed whole, is what the compiler makes vector code of.
    using Code = std::make_unsigned_t<Unit>;
    Code codes[asciiRun];
    std::memcpy(codes, units, sizeof codes);
    std::uint32_t all = 0;
    for (std::size_t i = 0; i < asciiRun; ++i)
        all |= std::uint32_t(codes[i]);
    return all < 0x80;
}

template <typename From, typename To>
void copyUnits(const From* from, std::size_t count, Output<To>& out)
{
    if (To* to = out.next())
        for (std::size_t i = 0; i < count; ++i)
            to[i] = To(from[i]);
    out.advance(count);
}

// Copies the ASCII that starts at from, whole runs at a time, then what the run that holds
// something else has before it; returns where it stopped.
template <typename From, typename To>
std::size_t copyAscii(const From* from, std::size_t length, std::size_t at, Output<To>& out)
{
    while (at + asciiRun <= length && out.reserve(asciiRun)) {
        if (!asciiRunAt(from + at)) {
            std::size_t ascii = 0;
            while (std::make_unsigned_t<From>(from[at + ascii]) < 0x80)
                ++ascii;
            copyUnits(from + at, ascii, out);
            return at + ascii;
        }
        copyUnits(from + at, asciiRun, out);
        at += asciiRun;
    }
    return at;
}

// The length of the well-formed UTF-8 sequence at bytes[at], with its character in point, or 0.
// A sequence cut short or broken counts as the maximal part that could still have begun one:
// that many bytes become one U+FFFD, as Windows replaces them.
std::size_t utf8Sequence(const unsigned char* bytes, std::size_t length, std::size_t at,
                         char32_t& point, std::size_t& broken)
{
    const unsigned char lead = bytes[at];
    std::size_t need;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        point = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        point = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        broken = 1;
        return 0;
    }
    for (std::size_t i = 1; i <= need; ++i) {
        const std::size_t next = at + i;
        if (next >= length || bytes[next] < low || bytes[next] > high) {
            broken = i;
            return 0;
        }
        point = (point << 6) | (bytes[next] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return need + 1;
}

// Converts from[0, length) into out: runs of ASCII eight at a time, anything else through
// convertOne(at), which puts what it read at at, and returns where the next unit is, or
// nothing after a failure that it has set as the last error.
template <typename From, typename To, typename ConvertOne>
int convertAll(const From* from, std::size_t length, Output<To>& out, ConvertOne convertOne)
{
    for (std::size_t at = 0; at < length;) {
        at = copyAscii(from, length, at, out);
        if (at == length)
            break;
        const std::optional<std::size_t> next = convertOne(at);
        if (!next)
            return 0;
        at = *next;
    }
    return int(out.used());
}

std::nullopt_t failed(DWORD error)
{
    SetLastError(error);
    return std::nullopt;
}

int utf8ToWide(DWORD flags, const char* from, std::size_t length, Output<wchar_t>& out)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(from);
    return convertAll(from, length, out, [&](std::size_t at) -> std::optional<std::size_t> {
        if (!out.reserve(1))
            return failed(ERROR_INSUFFICIENT_BUFFER);
        if (bytes[at] < 0x80) {
            out.put(bytes[at]);
            return at + 1;
        }
        char32_t point = 0;
        std::size_t broken = 0;
        const std::size_t size = utf8Sequence(bytes, length, at, point, broken);
        if (size == 0 && (flags & MB_ERR_INVALID_CHARS))
            return failed(ERROR_NO_UNICODE_TRANSLATION);
        out.put(size ? wchar_t(point) : replacement);
        return at + (size ? size : broken);
    });
}

int western1252ToWide(const char* from, std::size_t length, Output<wchar_t>& out)
{
    return convertAll(from, length, out, [&](std::size_t at) -> std::optional<std::size_t> {
        if (!out.reserve(1))
            return failed(ERROR_INSUFFICIENT_BUFFER);
        const auto byte = static_cast<unsigned char>(from[at]);
        out.put(byte >= 0x80 && byte < 0xA0 ? upper1252[byte - 0x80] : wchar_t(byte));
        return at + 1;
    });
}

// The character at units[at] and how many units it takes: a high surrogate followed by a low one
// is one character, as in Windows' 16-bit text; a surrogate alone stands for itself.
char32_t characterAt(const wchar_t* units, std::size_t length, std::size_t at, std::size_t& size)
{
    const auto unit = char32_t(units[at]);
    size = 1;
    if (isHigh(unit) && at + 1 < length && isLow(char32_t(units[at + 1]))) {
        size = 2;
        return 0x10000 + ((unit - 0xD800) << 10) + (char32_t(units[at + 1]) - 0xDC00);
    }
    return unit;
}

int wideToUtf8(DWORD flags, const wchar_t* from, std::size_t length, Output<char>& out)
{
    return convertAll(from, length, out, [&](std::size_t at) -> std::optional<std::size_t> {
        std::size_t size;
        char32_t point = characterAt(from, length, at, size);
        if ((point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF) {
            if (flags & WC_ERR_INVALID_CHARS)
                return failed(ERROR_NO_UNICODE_TRANSLATION);
            point = replacement;
        }
        const std::size_t count = point < 0x80 ? 1 : point < 0x800 ? 2 : point < 0x10000 ? 3 : 4;
        if (!out.reserve(count))
            return failed(ERROR_INSUFFICIENT_BUFFER);
        if (count == 1) {
            out.put(char(point));
            return at + size;
        }
        const unsigned char leads[] = {0, 0, 0xC0, 0xE0, 0xF0};
        out.put(char(leads[count] | (point >> (6 * (count - 1)))));
        for (std::size_t i = count - 1; i > 0; --i)
            out.put(char(0x80 | ((point >> (6 * (i - 1))) & 0x3F)));
        return at + size;
    });
}

int to1252(char32_t point)
{
    if (point < 0x80 || (point >= 0xA0 && point <= 0xFF))
        return int(point);
    for (int i = 0; i < 32; ++i) {
        if (char32_t(upper1252[i]) == point)
            return 0x80 + i;
    }
    return -1;
}

int wideTo1252(const wchar_t* from, std::size_t length, char fallback, BOOL* usedDefault,
               Output<char>& out)
{
    return convertAll(from, length, out, [&](std::size_t at) -> std::optional<std::size_t> {
        if (!out.reserve(1))
            return failed(ERROR_INSUFFICIENT_BUFFER);
        std::size_t size;
        const int byte = to1252(characterAt(from, length, at, size));
        if (byte < 0 && usedDefault)
            *usedDefault = TRUE;
        out.put(byte < 0 ? fallback : char(byte));
        return at + size;
    });
}

// A count of -1 means up to and with the terminating zero; 0 and other negatives are refused, as
// are a null input and a null output with room. No room (0) asks only for the size.
template <typename From, typename To>
std::optional<Output<To>> prepare(const From* from, int fromCount, std::size_t& length, To* to,
                                  int toCount)
{
    if (!from || fromCount == 0 || fromCount < -1 || toCount < 0 || (toCount > 0 && !to))
        return std::nullopt;
    if (fromCount > 0) {
        length = std::size_t(fromCount);
    } else {
        length = 0;
        while (from[length] != 0)
            ++length;
        ++length;
    }
    return Output<To>(toCount == 0 ? nullptr : to, std::size_t(toCount));
}

} // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH multiByte, int byteCount, LPWSTR wide,
                        int wideCount)
{
    std::size_t length = 0;
    std::optional<Output<wchar_t>> out = prepare(multiByte, byteCount, length, wide, wideCount);
    if (!out || (codePage != CP_UTF8 && codePage != westernEuropean))
        return fail(ERROR_INVALID_PARAMETER);
    // Every byte of 1252 has a character, so MB_ERR_INVALID_CHARS never fails there.
    const DWORD allowed = MB_ERR_INVALID_CHARS | (codePage == CP_UTF8 ? 0 : MB_PRECOMPOSED);
    if (flags & ~allowed)
        return fail(ERROR_INVALID_FLAGS);
    return codePage == CP_UTF8 ? utf8ToWide(flags, multiByte, length, *out)
                               : western1252ToWide(multiByte, length, *out);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideCount, LPSTR multiByte,
                        int byteCount, LPCCH defaultChar, LPBOOL usedDefaultChar)
{
    std::size_t length = 0;
    std::optional<Output<char>> out = prepare(wide, wideCount, length, multiByte, byteCount);
    const bool utf8 = codePage == CP_UTF8;
    // UTF-8 has no default character to report.
    if (!out || (!utf8 && codePage != westernEuropean) ||
        (utf8 && (defaultChar || usedDefaultChar)))
        return fail(ERROR_INVALID_PARAMETER);
    if (flags & ~(utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS))
        return fail(ERROR_INVALID_FLAGS);
    if (utf8)
        return wideToUtf8(flags, wide, length, *out);
    if (usedDefaultChar)
        *usedDefaultChar = FALSE;
    return wideTo1252(wide, length, defaultChar ? *defaultChar : defaultByte, usedDefaultChar,
                      *out);
}
