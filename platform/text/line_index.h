// Where the lines of the edit control's text start, for a text of any size: the starts in blocks
// of a few thousand, each kept as its distance from its block's first start. An edit rewrites the
// block it falls in and moves only the first start of each later block, so a key press costs the
// same at the top of a gigabyte as at its end, and a line start takes four bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

class LineIndex {
public:
    static constexpr std::size_t defaultBlockLines = 4096;

    // blockLines: the most lines a block holds (small values let tests reach block edges).
    explicit LineIndex(std::size_t blockLines = defaultBlockLines);

    // One line, starting at 0; the memory of a larger index is given back.
    void clear();
    std::size_t count() const { return lines_; }
    // line < count().
    std::size_t start(std::size_t line) const;
    // The last line whose start is at most position.
    std::size_t lineOf(std::size_t position) const;

    // Adds a line start after all the others, for building the index front to back.
    void append(std::size_t start);
    // An edit replaced removed characters at position by inserted ones: the starts in
    // [position + 1, position + removed + 2) are gone, the later ones move by the difference, and
    // found, ascending and below the first of those moved, comes in between.
    void edit(std::size_t position, std::size_t removed, std::size_t inserted,
              const std::vector<std::size_t>& found);

    // The longest line, without its CR LF, of a text of size characters.
    std::size_t longest(std::size_t size) const;

private:
    static constexpr std::size_t unknown = std::size_t(-1);

    struct Block {
        std::vector<std::uint32_t> offsets;    // each start's distance from the block's first
        mutable std::size_t longest = unknown; // its longest line, measured when first asked
    };

    std::size_t blockOfLine(std::size_t line) const;
    void startBlock(std::size_t start);
    // The starts of the lines [from, to) of a block, moved by shift, onto out.
    void copyStarts(std::size_t block, std::size_t from, std::size_t to, std::size_t shift,
                    std::vector<std::size_t>& out) const;
    // Puts blocks made of starts in the place of the blocks [first, end).
    void replaceBlocks(std::size_t first, std::size_t end, const std::vector<std::size_t>& starts);
    std::size_t measure(std::size_t block, std::size_t size) const;

    std::size_t blockLines_;
    std::size_t lines_ = 0;
    std::vector<Block> blocks_;
    std::vector<std::size_t> firsts_;     // each block's first start
    std::vector<std::size_t> firstLines_; // the number of each block's first line
    mutable std::size_t lastBlock_ = 0;   // where blockOfLine found its last line
};

} // namespace platform
