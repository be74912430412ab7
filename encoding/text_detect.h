// Recognising a file's encoding and line ends from its bytes when it is opened.
#pragma once

#include "encoding/text_format.h"

#include <cstdint>
#include <string>
#include <string_view>

struct DetectedFormat {
    TextFormat format;
    LineEndCounts lineEnds;
};

// The encoding, by the first rule that holds: a UTF-8 mark; a UTF-16 little- or big-endian mark
// on a file of an even length; UTF-16 without a mark on a file of an even length of at least four
// bytes whose first 4 KiB have a zero byte in every other place and a character of text (tab, LF,
// form feed, CR, or printable Latin-1) in each place between; bytes that read as UTF-8 with more
// multi-byte sequences than bytes that fit none, or with no such byte (ASCII alone); otherwise
// 8-bit text. The line ends: the more frequent of CR LF and LF, CR LF when they are as many; a lone
// CR is a line end only in a file without any LF (elsewhere it is kept as a character); the
// system's for a file without line ends.
DetectedFormat detectFormat(std::string_view bytes);

// The same over a file read a piece at a time, so that Open never needs the file whole.
class FormatDetector {
public:
    // Takes the file's next bytes.
    void add(std::string_view bytes);
    DetectedFormat finish();

private:
    void count(std::string_view bytes);
    void orderWide();
    void sniffWide(std::string_view bytes);
    Encoding wideEncoding() const;
    void countWide(std::string_view bytes);

    std::string start_; // the file's first three bytes, for the marks
    std::string held_;  // the start of a UTF-8 sequence that the next bytes may finish
    std::uint64_t size_ = 0;
    std::size_t sequences_ = 0; // UTF-8's multi-byte sequences
    std::size_t strays_ = 0;    // bytes that start no UTF-8 sequence
    std::uint64_t crs_ = 0;
    std::uint64_t lfs_ = 0;
    std::uint64_t crLfs_ = 0;
    bool afterCr_ = false;
    // UTF-16's line ends, counted only in a file that starts with one of its marks or, without
    // one, as long as its first bytes may be UTF-16.
    int wideOrder_ = -1; // -1 undecided or none, 0 little-endian, 1 big-endian
    bool wideMarked_ = false;
    LineEndCounts wide_;
    int pendingByte_ = -1;
    char16_t previousUnit_ = 0;
};

// Whether the file has both CR LF and LF line ends, which a save writes in one form.
bool mixesLineEnds(const LineEndCounts& counts);
