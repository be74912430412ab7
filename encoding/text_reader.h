// A file's bytes as the edit control's text: decoded by the document's encoding, with CR LF
// between lines. Pure, so tests and fuzzers can call it directly.
#pragma once

#include "encoding/text_format.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Turns a file's bytes into text, in pieces, so a file need not be held whole beside its text:
// the text of all pieces appended is the text of their bytes joined, whatever the split.
//  - The byte-order mark, which the format's encoding starts with, is left out.
//  - A byte that is not part of well-formed UTF-8 becomes a stray byte (document/text_units.h).
//  - LF and CR LF end lines; a lone CR ends one only when the format's line ends are CR, and is
//    an ordinary character otherwise. Each line end becomes CR LF; the last line keeps having
//    none when the file's last line had none.
//  - Zero characters cannot live in the control's text: they are left out and counted.
class TextReader {
public:
    explicit TextReader(TextFormat format) : format_(format) {}

    // From now on notes each CR LF and LF line end in forms, as LineEndForms keeps them.
    void recordLineEnds(std::vector<bool>* forms) { forms_ = forms; }
    // Room for the text of that many bytes, as most texts need.
    void reserve(std::size_t bytes);
    void append(std::string_view piece);
    // Hands over the text of the pieces so far (what the next bytes decide stays behind) and
    // takes settled's buffer to write on, so two buffers serve a whole file in turn.
    void take(std::wstring& settled);
    // The rest of the text; the reader starts afresh afterwards.
    std::wstring finish(std::size_t* zeros = nullptr);

private:
    void decode(std::string_view bytes, bool last);
    void decodeUtf8(std::string_view bytes);
    void decodeUtf16(std::string_view bytes, bool last);
    // Makes the line ends of the text decoded from from on CR LF.
    void breakLines(std::size_t from);
    void note(std::size_t count, bool lf);

    TextFormat format_;
    std::size_t markLeft_ = markOf(format_.encoding).size();
    std::string held_;     // bytes that the next piece may complete: part of a character
    std::string chunk_;    // held_ and the next chunk of a piece, decoded together
    std::wstring decoded_; // a chunk as characters, when its line ends need changing
    std::wstring text_;
    std::size_t zeros_ = 0;
    std::vector<bool>* forms_ = nullptr;
    bool crPending_ = false; // decoded text ended in CR: the next character says what it is
};

std::wstring textFromBytes(std::string_view bytes, TextFormat format, std::size_t* zeros = nullptr);
