// The line starts in blocks, each start a 32-bit distance from its block's first.
#include "platform/text/line_index.h"

#include <algorithm>

namespace platform {

namespace {

constexpr std::size_t widestOffset = UINT32_MAX;

} // namespace

LineIndex::LineIndex(std::size_t blockLines) : blockLines_(std::max<std::size_t>(blockLines, 2))
{
    clear();
}

void LineIndex::clear()
{
    blocks_ = std::vector<Block>();
    firsts_ = std::vector<std::size_t>();
    firstLines_ = std::vector<std::size_t>();
    lines_ = 0;
    startBlock(0);
}

void LineIndex::startBlock(std::size_t start)
{
    Block block;
    block.offsets.reserve(blockLines_);
    block.offsets.push_back(0);
    blocks_.push_back(std::move(block));
    firsts_.push_back(start);
    firstLines_.push_back(lines_);
    ++lines_;
}

// Lines are mostly asked for one after another (a save reads them all): the block of the last
// answer, or the one after it, usually holds the next, and checking it needs no search.
std::size_t LineIndex::blockOfLine(std::size_t line) const
{
    for (std::size_t block = lastBlock_; block < blocks_.size() && block <= lastBlock_ + 1;
         ++block) {
        if (line >= firstLines_[block] && line < firstLines_[block] + blocks_[block].offsets.size())
            return lastBlock_ = block;
    }
    lastBlock_ = std::size_t(std::upper_bound(firstLines_.begin(), firstLines_.end(), line) -
                             firstLines_.begin()) -
                 1;
    return lastBlock_;
}

std::size_t LineIndex::start(std::size_t line) const
{
    const std::size_t block = blockOfLine(line);
    return firsts_[block] + blocks_[block].offsets[line - firstLines_[block]];
}

std::size_t LineIndex::lineOf(std::size_t position) const
{
    const auto block =
        std::size_t(std::upper_bound(firsts_.begin(), firsts_.end(), position) - firsts_.begin()) -
        1;
    const std::vector<std::uint32_t>& offsets = blocks_[block].offsets;
    const std::size_t distance = position - firsts_[block];
    const auto after = std::upper_bound(offsets.begin(), offsets.end(), distance);
    return firstLines_[block] + std::size_t(after - offsets.begin()) - 1;
}

void LineIndex::append(std::size_t start)
{
    Block& last = blocks_.back();
    const std::size_t distance = start - firsts_.back();
    if (last.offsets.size() >= blockLines_ || distance > widestOffset) {
        startBlock(start);
        return;
    }
    last.offsets.push_back(std::uint32_t(distance));
    last.longest = unknown;
    ++lines_;
}

void LineIndex::copyStarts(std::size_t block, std::size_t from, std::size_t to, std::size_t shift,
                           std::vector<std::size_t>& out) const
{
    const std::size_t first = firsts_[block] + shift;
    const std::vector<std::uint32_t>& offsets = blocks_[block].offsets;
    for (std::size_t line = from; line < to; ++line)
        out.push_back(first + offsets[line - firstLines_[block]]);
}

// Only the blocks that hold a start the edit removes or moves within them are made anew; every
// later block keeps its offsets and has its first start moved.
void LineIndex::edit(std::size_t position, std::size_t removed, std::size_t inserted,
                     const std::vector<std::size_t>& found)
{
    const std::size_t lostFrom = lineOf(position) + 1;
    const std::size_t lostTo = lineOf(position + removed + 1) + 1;
    const std::size_t first = blockOfLine(lostFrom - 1);
    std::size_t last = blockOfLine(lostTo - 1);
    const std::size_t shift = inserted - removed; // wraps for a net removal, as unsigned does

    std::vector<std::size_t> starts;
    starts.reserve(2 * blockLines_ + found.size());
    copyStarts(first, firstLines_[first], lostFrom, 0, starts);
    starts.insert(starts.end(), found.begin(), found.end());
    const auto endOf = [this](std::size_t block) {
        return firstLines_[block] + blocks_[block].offsets.size();
    };
    copyStarts(last, lostTo, endOf(last), shift, starts);
    // A block left small takes the next one in, so edits leave no trail of tiny blocks.
    if (starts.size() < blockLines_ / 2 && last + 1 < blocks_.size()) {
        ++last;
        copyStarts(last, firstLines_[last], endOf(last), shift, starts);
    }
    const std::size_t after = blocks_.size() - last - 1;
    replaceBlocks(first, last + 1, starts);
    for (std::size_t block = blocks_.size() - after; block < blocks_.size(); ++block)
        firsts_[block] += shift;
    for (std::size_t block = first + 1; block < blocks_.size(); ++block)
        firstLines_[block] = firstLines_[block - 1] + blocks_[block - 1].offsets.size();
    lines_ = firstLines_.back() + blocks_.back().offsets.size();
}

// Spreads the starts evenly over as few blocks as hold them, and opens a new block wherever a
// distance would not fit in 32 bits (lines of gigabytes).
void LineIndex::replaceBlocks(std::size_t first, std::size_t end,
                              const std::vector<std::size_t>& starts)
{
    const std::size_t count = starts.size();
    const std::size_t blocks = (count + blockLines_ - 1) / blockLines_;
    const std::size_t perBlock = (count + blocks - 1) / blocks;
    std::vector<Block> made;
    std::vector<std::size_t> madeFirsts;
    for (std::size_t i = 0; i < count;) {
        Block block;
        block.offsets.reserve(std::min(perBlock, count - i));
        const std::size_t base = starts[i];
        while (i < count && block.offsets.size() < perBlock && starts[i] - base <= widestOffset)
            block.offsets.push_back(std::uint32_t(starts[i++] - base));
        made.push_back(std::move(block));
        madeFirsts.push_back(base);
    }
    const auto at = [first](auto& vector) { return vector.begin() + std::ptrdiff_t(first); };
    const auto span = std::ptrdiff_t(end - first);
    blocks_.erase(at(blocks_), at(blocks_) + span);
    blocks_.insert(at(blocks_), std::make_move_iterator(made.begin()),
                   std::make_move_iterator(made.end()));
    firsts_.erase(at(firsts_), at(firsts_) + span);
    firsts_.insert(at(firsts_), madeFirsts.begin(), madeFirsts.end());
    firstLines_.erase(at(firstLines_) + 1, at(firstLines_) + span);
    firstLines_.insert(at(firstLines_) + 1, made.size() - 1, 0);
}

std::size_t LineIndex::measure(std::size_t block, std::size_t size) const
{
    const std::vector<std::uint32_t>& offsets = blocks_[block].offsets;
    const std::size_t first = firsts_[block];
    // The last line ends where the next block's first starts, or at the end of the text.
    const std::size_t end =
        block + 1 < blocks_.size() ? firsts_[block + 1] - 2 - first : size - first;
    std::size_t longest = 0;
    for (std::size_t i = 0; i + 1 < offsets.size(); ++i)
        longest = std::max<std::size_t>(longest, offsets[i + 1] - 2 - offsets[i]);
    return std::max(longest, end - offsets.back());
}

std::size_t LineIndex::longest(std::size_t size) const
{
    std::size_t longest = 0;
    for (std::size_t block = 0; block < blocks_.size(); ++block) {
        std::size_t& measured = blocks_[block].longest;
        if (measured == unknown)
            measured = measure(block, size);
        longest = std::max(longest, measured);
    }
    return longest;
}

} // namespace platform
