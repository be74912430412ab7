// Telling well-formed UTF-8 from bytes that only look like it, a sequence at a time.
#pragma once

#include <cstddef>
#include <string_view>

// The length of the well-formed sequence that starts bytes (1 for ASCII, up to 4), or 0 when the
// first byte starts none: a stray continuation byte, an overlong form, a surrogate, a value beyond
// U+10FFFF, or a sequence cut short. bytes must not be empty.
std::size_t utf8SequenceAt(std::string_view bytes);

// How many bytes at the start of bytes are whole well-formed sequences.
std::size_t validUtf8Prefix(std::string_view bytes);

// How many bytes at the end (0 to 3) begin a sequence that bytes to come may still finish: a piece
// of a file keeps them back for the next one.
std::size_t unfinishedUtf8Tail(std::string_view bytes);

// How a whole text fares as UTF-8: its multi-byte sequences, and its bytes that start no
// well-formed sequence (each stray byte counted once, as reading goes on at the next byte).
struct Utf8Census {
    std::size_t sequences = 0;
    std::size_t strays = 0;
};
Utf8Census utf8Census(std::string_view bytes);
