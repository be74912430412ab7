// The bytes of a text file and the edit control's text: one byte per character (Latin-1), line
// ends as CR LF in the control. Pure functions, so tests and fuzzers can call them directly.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Turns file bytes into edit-control text. Every line is followed by CR LF in the text, the last
// one included; the CR of a CR LF pair in the file belongs to the line end, a lone CR is kept.
// Bytes 128 to 255 become the characters of the same value, and Ctrl+Z is data like any other
// byte. Zero bytes cannot live in the control's text: they are left out and counted in zeroBytes.
std::wstring textFromBytes(std::string_view bytes, std::size_t* zeroBytes = nullptr);

// The same for bytes that arrive in pieces, so a file need not be held whole beside its text: the
// text of all pieces appended is the text of their bytes joined, whatever the split.
class TextFromBytes {
public:
    // Room for the text of that many bytes, as most texts need.
    void reserve(std::size_t bytes);
    void append(std::string_view piece);
    // Hands over the text of the pieces so far (what a held-back CR decides stays behind) and
    // takes settled's buffer to write on, so two buffers serve a whole file in turn.
    void take(std::wstring& settled);
    // The text with its last line end; the builder starts afresh afterwards.
    std::wstring finish(std::size_t* zeroBytes = nullptr);

private:
    std::wstring text_;
    std::size_t zeros_ = 0;
    bool lineOpen_ = false;  // the current line has content and still needs its CR LF
    bool crPending_ = false; // a piece ended in CR: the next byte tells whether it ends a line
};

// The offset of the first character that no single byte can hold (above 255), or npos.
std::size_t firstUnwritable(std::wstring_view text);

// One byte per character; every character must be 0 to 255 (see firstUnwritable).
std::string bytesFromText(std::wstring_view text);
// The same into text.size() bytes at out.
void bytesFromText(std::wstring_view text, char* out);

// Where a character sits, counted from 1, for telling the user; line ends are CR LF or LF.
struct TextPlace {
    std::size_t line;
    std::size_t column;
};
TextPlace placeOf(std::wstring_view text, std::size_t offset);

// The code point at an offset, joining a UTF-16 surrogate pair where the text holds one.
char32_t codePointAt(std::wstring_view text, std::size_t offset);
