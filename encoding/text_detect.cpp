// Encoding and line-end detection, over a whole file or a piece at a time: per piece one pass for
// UTF-8 and one for line ends.
#include "encoding/text_detect.h"

#include "encoding/utf8.h"

#include <algorithm>
#include <cstring>

namespace {

// How far into a file without a mark its bytes are looked at for UTF-16.
constexpr std::uint64_t wideSniffLength = 4096;

// A character of text, not a control or a zero: tab, LF, form feed, CR, printable ASCII and the
// printable rest of Latin-1.
bool plausibleLatin1(unsigned char byte)
{
    return byte == '\t' || byte == '\n' || byte == '\f' || byte == '\r' ||
           (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0;
}

bool startsWith(std::string_view bytes, std::string_view mark)
{
    return bytes.substr(0, mark.size()) == mark;
}

LineEnd formOf(const LineEndCounts& counts)
{
    if (counts.crLf + counts.lf == 0)
        return counts.cr > 0 ? LineEnd::cr : systemLineEnd();
    return counts.crLf >= counts.lf ? LineEnd::crLf : LineEnd::lf;
}

struct ByteLineEnds {
    std::uint64_t crs = 0;
    std::uint64_t lfs = 0;
    std::uint64_t crLfs = 0;
};

void countByte(ByteLineEnds& counts, unsigned char byte, unsigned char before)
{
    counts.crs += byte == '\r';
    counts.lfs += byte == '\n';
    counts.crLfs += byte == '\n' && before == '\r';
}

// The CR, LF and CR LF in bytes, an LF first of all paired with a CR before them when afterCr.
// Groups of a fixed length counted into bytes, with no early end, become vector instructions.
ByteLineEnds lineEndsIn(std::string_view text, bool afterCr)
{
    constexpr std::size_t group = 128; // so that no count in a group passes 255
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    ByteLineEnds counts;
    if (text.empty())
        return counts;
    countByte(counts, bytes[0], afterCr ? '\r' : 0);
    std::size_t at = 1;
    for (; at + group <= text.size(); at += group) {
        unsigned char crs = 0;
        unsigned char lfs = 0;
        unsigned char crLfs = 0;
        for (std::size_t i = at; i < at + group; ++i) {
            crs += bytes[i] == '\r';
            lfs += bytes[i] == '\n';
            crLfs += (bytes[i] == '\n') & (bytes[i - 1] == '\r');
        }
        counts.crs += crs;
        counts.lfs += lfs;
        counts.crLfs += crLfs;
    }
    for (; at < text.size(); ++at)
        countByte(counts, bytes[at], bytes[at - 1]);
    return counts;
}

} // namespace

DetectedFormat detectFormat(std::string_view bytes)
{
    FormatDetector detector;
    detector.add(bytes);
    return detector.finish();
}

void FormatDetector::add(std::string_view bytes)
{
    if (!held_.empty()) {
        // The sequence the last bytes began is finished, or found broken, by a few of these.
        std::size_t taken = 0;
        while (taken < bytes.size() && unfinishedUtf8Tail(held_) != 0) {
            held_ += bytes[taken++];
            // What comes before a new unfinished start is settled: only that start waits on.
            const std::size_t waiting = unfinishedUtf8Tail(held_);
            if (waiting != 0 && waiting < held_.size()) {
                count(std::string_view(held_).substr(0, held_.size() - waiting));
                held_.erase(0, held_.size() - waiting);
            }
        }
        if (unfinishedUtf8Tail(held_) != 0)
            return;
        count(held_);
        held_.clear();
        bytes.remove_prefix(taken);
    }
    const std::size_t unfinished = unfinishedUtf8Tail(bytes);
    count(bytes.substr(0, bytes.size() - unfinished));
    held_.assign(bytes.substr(bytes.size() - unfinished));
}

DetectedFormat FormatDetector::finish()
{
    count(held_);
    held_.clear();
    DetectedFormat detected;
    Encoding& encoding = detected.format.encoding;
    const bool even = size_ % 2 == 0;
    // UTF-8 wins when its multi-byte sequences outnumber the bytes that fit none: then it explains
    // more of the file than code page 1252 does, whose accented letters almost never happen to
    // form a sequence. A UTF-8 file with a few stray bytes stays readable as UTF-8 and keeps them.
    // ASCII alone is UTF-8 as much as 1252, and UTF-8 stores whatever the user adds.
    if (startsWith(start_, markOf(Encoding::utf8WithMark)))
        encoding = Encoding::utf8WithMark;
    else if (even && wideOrder_ >= 0 && (wideMarked_ || size_ >= 4))
        encoding = wideEncoding();
    else
        encoding = strays_ == 0 || sequences_ > strays_ ? Encoding::utf8 : Encoding::eightBit;
    if (isUtf16(encoding)) {
        detected.lineEnds = wide_;
    } else {
        // The marks hold no CR or LF, so the counts over the whole file are the text's.
        detected.lineEnds.crLf = std::size_t(crLfs_);
        detected.lineEnds.lf = std::size_t(lfs_ - crLfs_);
        detected.lineEnds.cr = std::size_t(crs_ - crLfs_);
    }
    detected.format.lineEnd = formOf(detected.lineEnds);
    return detected;
}

void FormatDetector::count(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (start_.size() < 3)
        start_.append(bytes.substr(0, 3 - start_.size()));
    if (wideOrder_ < 0 && start_.size() >= 2 && size_ < 2)
        orderWide();
    if (wideOrder_ >= 0 && !wideMarked_ && size_ < wideSniffLength)
        sniffWide(bytes);
    const Utf8Census census = utf8Census(bytes);
    sequences_ += census.sequences;
    strays_ += census.strays;
    // CR and LF bytes are never part of a longer UTF-8 sequence, so they are counted as bytes.
    const ByteLineEnds ends = lineEndsIn(bytes, afterCr_);
    crs_ += ends.crs;
    lfs_ += ends.lfs;
    crLfs_ += ends.crLfs;
    afterCr_ = bytes.back() == '\r';
    if (wideOrder_ >= 0)
        countWide(bytes);
    size_ += bytes.size();
}

// From the file's first two bytes: a mark, or a zero beside a character, which UTF-16 without a
// mark has at the start of text.
void FormatDetector::orderWide()
{
    const auto first = static_cast<unsigned char>(start_[0]);
    const auto second = static_cast<unsigned char>(start_[1]);
    wideMarked_ = startsWith(start_, markOf(Encoding::utf16Le)) ||
                  startsWith(start_, markOf(Encoding::utf16Be));
    if (wideMarked_)
        wideOrder_ = first == 0xFE ? 1 : 0;
    else if (first == 0 && plausibleLatin1(second))
        wideOrder_ = 1;
    else if (plausibleLatin1(first) && second == 0)
        wideOrder_ = 0;
    // The first byte went by before the order was known.
    if (wideOrder_ >= 0 && !wideMarked_ && size_ == 1)
        pendingByte_ = first;
}

// UTF-16 without a mark is taken only when the file's first bytes leave no doubt: a zero in every
// other place, a character of text in each place between.
void FormatDetector::sniffWide(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size() && size_ + i < wideSniffLength; ++i) {
        const std::uint64_t at = size_ + i;
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const bool zeroPlace = (at % 2 == 1) == (wideOrder_ == 0);
        if (zeroPlace ? byte != 0 : !plausibleLatin1(byte)) {
            wideOrder_ = -1;
            return;
        }
    }
}

Encoding FormatDetector::wideEncoding() const
{
    if (wideMarked_)
        return wideOrder_ == 1 ? Encoding::utf16Be : Encoding::utf16Le;
    return wideOrder_ == 1 ? Encoding::utf16BeWithoutMark : Encoding::utf16LeWithoutMark;
}

// The units after the mark, two bytes each; a unit may be split between two calls.
void FormatDetector::countWide(std::string_view bytes)
{
    const bool bigEndian = wideOrder_ == 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (wideMarked_ && size_ + i < 2)
            continue;
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (pendingByte_ < 0) {
            pendingByte_ = byte;
            continue;
        }
        const auto unit = char16_t(bigEndian ? pendingByte_ << 8 | byte : byte << 8 | pendingByte_);
        pendingByte_ = -1;
        if (unit == u'\n') {
            if (previousUnit_ == u'\r') {
                ++wide_.crLf;
                --wide_.cr;
            } else {
                ++wide_.lf;
            }
        }
        wide_.cr += unit == u'\r';
        previousUnit_ = unit;
    }
}

bool mixesLineEnds(const LineEndCounts& counts)
{
    return counts.crLf > 0 && counts.lf > 0;
}
