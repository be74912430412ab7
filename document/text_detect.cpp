// Encoding and line-end detection over a whole file: one pass for UTF-8, one for line ends.
#include "document/text_detect.h"

#include "document/utf8.h"

#include <algorithm>
#include <cstring>

namespace {

bool startsWith(std::string_view bytes, std::string_view mark)
{
    return bytes.substr(0, mark.size()) == mark;
}

// UTF-8 wins when its multi-byte sequences outnumber the bytes that fit none: then it explains
// more of the file than code page 1252 does, whose accented letters almost never happen to form
// a sequence. A UTF-8 file with a few stray bytes stays readable as UTF-8 and keeps those bytes.
bool readsAsUtf8(std::string_view bytes)
{
    const Utf8Census census = utf8Census(bytes);
    return census.sequences > census.strays;
}

// The line ends of 8-bit and UTF-8 text, whose CR and LF bytes are never part of a longer
// sequence: the counting runs at memory speed, and only each LF looks at the byte before it.
LineEndCounts countLineEnds(std::string_view bytes)
{
    LineEndCounts counts;
    const auto crs = std::size_t(std::count(bytes.begin(), bytes.end(), '\r'));
    std::size_t lfs = 0;
    const char* end = bytes.data() + bytes.size();
    for (const char* at = bytes.data();; ++at) {
        at = static_cast<const char*>(std::memchr(at, '\n', std::size_t(end - at)));
        if (!at)
            break;
        ++lfs;
        counts.crLf += at > bytes.data() && at[-1] == '\r';
    }
    counts.lf = lfs - counts.crLf;
    counts.cr = crs - counts.crLf;
    return counts;
}

LineEndCounts countUtf16LineEnds(std::string_view bytes, bool bigEndian)
{
    LineEndCounts counts;
    char16_t previous = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        const auto unit = char16_t(bigEndian ? first << 8 | second : second << 8 | first);
        if (unit == u'\n') {
            if (previous == u'\r') {
                ++counts.crLf;
                --counts.cr;
            } else {
                ++counts.lf;
            }
        }
        counts.cr += unit == u'\r';
        previous = unit;
    }
    return counts;
}

LineEnd formOf(const LineEndCounts& counts)
{
    if (counts.crLf + counts.lf == 0)
        return counts.cr > 0 ? LineEnd::cr : LineEnd::crLf;
    return counts.crLf >= counts.lf ? LineEnd::crLf : LineEnd::lf;
}

} // namespace

DetectedFormat detectFormat(std::string_view bytes)
{
    DetectedFormat detected;
    Encoding& encoding = detected.format.encoding;
    const bool even = bytes.size() % 2 == 0;
    if (startsWith(bytes, markOf(Encoding::utf8WithMark)))
        encoding = Encoding::utf8WithMark;
    else if (even && startsWith(bytes, markOf(Encoding::utf16Le)))
        encoding = Encoding::utf16Le;
    else if (even && startsWith(bytes, markOf(Encoding::utf16Be)))
        encoding = Encoding::utf16Be;
    else
        encoding = readsAsUtf8(bytes) ? Encoding::utf8 : Encoding::eightBit;

    const std::string_view text = bytes.substr(markOf(encoding).size());
    if (encoding == Encoding::utf16Le || encoding == Encoding::utf16Be)
        detected.lineEnds = countUtf16LineEnds(text, encoding == Encoding::utf16Be);
    else
        detected.lineEnds = countLineEnds(text);
    detected.format.lineEnd = formOf(detected.lineEnds);
    return detected;
}

bool mixesLineEnds(const LineEndCounts& counts)
{
    return counts.crLf > 0 && counts.lf > 0;
}
