// The multi-line edit control's text, exactly the Windows text (CR LF between lines, one wchar_t
// per position), kept so that a document of a hundred megabytes costs about its size: a piece table
// over the text as it was set (one byte per character while every character fits in one) and an
// append-only buffer of what was typed since, with an index of where each line starts. Qt-free, so
// it can be tested and fuzzed without a widget.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TextStore {
public:
    // A stretch of the text as pieces of the two buffers: what an edit removed, kept for undo
    // without copying the characters (the buffers never change what they hold).
    struct Piece {
        bool added = false; // false: the text as set and large insertions; true: the typed buffer
        std::size_t start = 0;
        std::size_t length = 0;
    };
    using Stretch = std::vector<Piece>;

    TextStore();

    // Replaces the whole text; forgets the typed buffer.
    void assign(std::wstring_view text);

    std::size_t size() const { return size_; }
    wchar_t at(std::size_t position) const;
    // Copies at most count characters from position (clamped to the end) into out; returns how
    // many.
    std::size_t copy(std::size_t position, std::size_t count, wchar_t* out) const;
    std::wstring text(std::size_t position, std::size_t count) const;

    // Replaces count characters at position (both clamped to the text) by text.
    void replace(std::size_t position, std::size_t count, std::wstring_view text);
    Stretch stretch(std::size_t position, std::size_t count) const;
    void replace(std::size_t position, std::size_t count, const Stretch& text);
    static std::size_t lengthOf(const Stretch& stretch);
    // Appends more to stretch, joining pieces that lie side by side in the same buffer.
    static void append(Stretch& stretch, const Stretch& more);

    // Lines are separated by CR LF only; a lone CR or LF is an ordinary character. There is always
    // at least one line.
    std::size_t lineCount() const { return starts_.size(); }
    std::size_t lineStart(std::size_t line) const;
    // Without the CR LF that ends it.
    std::size_t lineLength(std::size_t line) const;
    // The line a position is on; the position between a CR and its LF belongs to the line they end.
    std::size_t lineOf(std::size_t position) const;
    // The length of the longest line, for the horizontal scroll range.
    std::size_t longestLine() const;

private:
    std::size_t appendToOriginal(std::wstring_view text);
    void replacePieces(std::size_t position, std::size_t count, const Stretch& text);
    void updateLines(std::size_t position, std::size_t removed, std::size_t inserted);

    // The text as set and large texts inserted since: one byte a character while all fit in one.
    std::string narrow_;
    std::wstring wide_;
    bool isWide_ = false;
    std::wstring added_; // typed text, append-only
    std::vector<Piece> pieces_;
    std::vector<std::size_t> pieceEnds_; // end position of each piece, for a binary search
    std::size_t size_ = 0;
    std::vector<std::size_t> starts_; // first position of each line
    mutable std::size_t longest_ = 0;
    mutable bool longestKnown_ = true;
};

} // namespace platform
