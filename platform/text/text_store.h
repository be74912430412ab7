// The multi-line edit control's text, exactly the Windows text (CR LF between lines, one wchar_t
// per position), kept so that a document of a gigabyte costs about its size: a piece table over
// the texts set whole or inserted in large parts (each one byte per character while every
// character fits in one, and never moved once made) and an append-only buffer of what was typed
// since, with an index of where each line starts. Qt-free, for tests and fuzzers without a widget.
#pragma once

#include "platform/text/line_index.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TextStore {
public:
    // A stretch of the text as pieces of the buffers: what an edit removed, kept for undo without
    // copying the characters (the buffers never change what they hold).
    struct Piece {
        std::uint32_t buffer = 0; // 0: the typed buffer; others: a text set or inserted whole
        std::size_t start = 0;
        std::size_t length = 0;
    };
    using Stretch = std::vector<Piece>;

    // Large insertions share buffers of up to this many characters, filled front to back.
    static constexpr std::size_t defaultSlab = std::size_t(64) << 20;

    // linesPerBlock: of the line index; slab: characters of a shared buffer for large insertions
    // (small values let tests reach the edges of both).
    explicit TextStore(std::size_t linesPerBlock = LineIndex::defaultBlockLines,
                       std::size_t slab = defaultSlab);

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
    std::size_t lineCount() const { return lines_.count(); }
    std::size_t lineStart(std::size_t line) const;
    // Without the CR LF that ends it.
    std::size_t lineLength(std::size_t line) const;
    // The line a position is on; the position between a CR and its LF belongs to the line they end.
    std::size_t lineOf(std::size_t position) const;
    // The length of the longest line, for the horizontal scroll range.
    std::size_t longestLine() const;

private:
    struct FreeMemory {
        void operator()(void* memory) const;
    };
    // A text set whole, or large insertions one after another: one byte a character when all
    // fit in one, else wide. Only the first used characters are text.
    struct Whole {
        std::unique_ptr<unsigned char[], FreeMemory> narrow;
        std::unique_ptr<wchar_t[], FreeMemory> wide;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };

    // Keeps text as a buffer of its own and notes its line starts.
    Piece keepWhole(std::wstring_view text);
    // Keeps a large insertion in the shared buffer of its width, starting a new one when full.
    Piece keepInserted(std::wstring_view text);
    // The buffer number of a shared buffer with room for count more characters.
    std::uint32_t slabWithRoom(std::uint32_t& slab, bool wide, std::size_t count);
    // The count characters just written after what buffer used, as the piece they now take up.
    Piece takeUp(std::uint32_t buffer, std::size_t count);
    // Calls read with a pointer to the piece's characters, of whichever width they are.
    template <typename Read> auto read(const Piece& piece, Read read) const;
    std::size_t pieceAt(std::size_t position) const;
    // Calls visit with each part of a piece that [position, position + count) covers, in order.
    template <typename Visit>
    void forEachPiece(std::size_t position, std::size_t count, Visit visit) const;
    void replacePieces(std::size_t position, std::size_t count, const Stretch& text);
    void updateLines(std::size_t position, std::size_t removed, std::size_t inserted);

    std::wstring added_;        // typed text, append-only
    std::vector<Whole> wholes_; // buffer k > 0 is wholes_[k - 1]
    std::size_t slab_;
    std::uint32_t narrowSlab_ = 0; // the shared buffers being filled; 0 for none yet
    std::uint32_t wideSlab_ = 0;
    std::vector<Piece> pieces_;
    std::vector<std::size_t> pieceEnds_; // end position of each piece, for a binary search
    std::size_t size_ = 0;
    LineIndex lines_;
};

} // namespace platform
