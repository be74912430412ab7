// Recognising a file's encoding and line ends from its bytes when it is opened.
#pragma once

#include "document/text_format.h"

#include <string_view>

struct DetectedFormat {
    TextFormat format;
    LineEndCounts lineEnds;
};

// The encoding, by the first rule that holds: a UTF-8 mark; a UTF-16 little- or big-endian mark
// on a file of an even length; bytes that read as UTF-8 with more multi-byte sequences than bytes
// that fit none; otherwise 8-bit text. The line ends: the more frequent of CR LF and LF, CR LF
// when they are as many; a lone CR is a line end only in a file without any LF (elsewhere it is
// kept as a character); CR LF for a file without line ends.
DetectedFormat detectFormat(std::string_view bytes);

// Whether the file has both CR LF and LF line ends, which a save writes in one form.
bool mixesLineEnds(const LineEndCounts& counts);
