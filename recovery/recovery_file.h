// The recovery copy's file: a short header (when it was written, the document's file, what the
// document knew of that file and how a save writes it) and then the text. The text is kept exactly,
// whatever characters it holds: each character as UTF-8, and a UTF-16 surrogate that has no partner
// encoded on its own as three bytes (the way WTF-8 does), since the edit control may hold such a
// unit too. Pure functions, so tests and fuzzers can call them directly.
#pragma once

#include "encoding/text_format.h"
#include "files/file_identity.h"

#include <cstddef>
#include <string>
#include <string_view>

struct RecoveryHeader {
    ULONGLONG time = 0; // FILETIME ticks, UTC
    std::wstring path;  // the document's file; empty for a new document
    FileIdentity identity;
    // The encoding and line ends, and a mixed file's line ends: a restored text saves as the
    // document it was. A copy from before they were kept reads as 8-bit text with CR LF.
    TextFormat format;
    LineEndCounts mixedLineEnds;
    // The copy holds no text: the text is the file's, as the identity knows it (a journal of the
    // changes since follows it).
    bool textInFile = false;
};

std::string headerBytes(const RecoveryHeader& header);
// Reads the header at the start of bytes; returns where the text begins, or npos when bytes do
// not begin with a whole header.
std::size_t parseHeader(std::string_view bytes, RecoveryHeader& header);

// Appends the bytes of text. A high surrogate at the very end waits for its partner in the next
// call only if the caller keeps the two together; callers hand over whole lines or split the
// text elsewhere.
void appendTextBytes(std::wstring_view text, std::string& bytes);

// The text of bytes held whole.
std::wstring recoveryText(std::string_view bytes);

// The text of bytes that arrive in pieces; a character split between two pieces is joined.
class TextFromRecoveryBytes {
public:
    void append(std::string_view piece, std::wstring& text);
    // The end: an unfinished character left over becomes U+FFFD.
    void finish(std::wstring& text);

private:
    char32_t pending_ = 0;
    int missing_ = 0; // continuation bytes still expected
};
