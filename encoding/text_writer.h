// The edit control's text as a file's bytes in the document's format, and what a format cannot
// hold. Pure, so tests and fuzzers can call them directly.
#pragma once

#include "encoding/text_format.h"

#include <cstddef>
#include <string>
#include <string_view>

// Writes a text a piece at a time, so a large text never exists a second time as bytes:
//  - the encoding's byte-order mark first;
//  - each CR LF as the format's line end, any other CR or LF as itself;
//  - in 8-bit and UTF-8, each lone U+DC80 to U+DCFF (a stray byte of a UTF-8 file) as that byte;
//    UTF-16 keeps it as the unit it is;
//  - every other character in the encoding, which must hold them all (see firstUnstorable).
// Where a save that writes each line end as the file had it has got to: the forms, and the number
// of the next line end, which goes on from one writer to the next.
struct LineEndPlace {
    const LineEndForms* forms = nullptr;
    std::size_t line = 0;
};

class TextWriter {
public:
    // withMark false: the text goes on from an earlier writer's, which wrote the mark. place: for
    // LineEnd::asInFile, without which each CR LF stays as it is.
    TextWriter(std::wstring_view text, TextFormat format, bool withMark = true,
               LineEndPlace* place = nullptr);
    // Fills at most room bytes at out (room at least 16) and returns how many; 0 at the end.
    std::size_t write(char* out, std::size_t room);

private:
    std::wstring_view withFileLineEnds(std::wstring_view units);
    bool lfAlone();
    std::size_t encode(std::wstring_view units, char* out);

    std::wstring_view rest_;
    TextFormat format_;
    std::string_view mark_;
    LineEndPlace* place_;
    std::wstring converted_; // a chunk of the text with the file's line ends
};

std::string bytesFromText(std::wstring_view text, TextFormat format,
                          const LineEndForms* forms = nullptr);

// The offset of the first character that the encoding cannot store, or npos: in 8-bit text any
// character code page 1252 lacks; in UTF-8 half of a surrogate pair that has lost the other half.
std::size_t firstUnstorable(std::wstring_view text, Encoding encoding);

// Where a character sits, counted from 1, for telling the user; line ends are CR LF or LF, and a
// surrogate pair counts as the one character it is.
struct TextPlace {
    std::size_t line;
    std::size_t column;
};
TextPlace placeOf(std::wstring_view text, std::size_t offset);

// The code point at an offset, joining a UTF-16 surrogate pair where the text holds one.
char32_t codePointAt(std::wstring_view text, std::size_t offset);
