// The edit control's text as a piece table over the text as set and the typed buffer, with the
// index of line starts kept up to date edit by edit.
#include "platform/text/text_store.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include <sys/mman.h>

namespace platform {

namespace {

// Characters checked and narrowed at a time while assigning.
constexpr std::size_t assignBlock = 16384;
constexpr std::uintptr_t hugePage = 2 * 1024 * 1024;
// Inserted texts at least this long join the text as set instead of the typed buffer.
constexpr std::size_t largeInsert = 65536;

// The loops over characters run in chunks of a fixed count, which the compiler turns into vector
// instructions even at -O2, where a loop of unknown length stays one character at a time.
constexpr std::size_t chunk = 64;

bool fitsOneByte(const wchar_t* text, std::size_t length)
{
    std::uint32_t bits = 0;
    std::size_t i = 0;
    for (; i + chunk <= length; i += chunk)
        for (std::size_t j = 0; j < chunk; ++j)
            bits |= std::uint32_t(text[i + j]);
    for (; i < length; ++i)
        bits |= std::uint32_t(text[i]);
    return bits <= 0xFF;
}

template <typename From, typename To> void convert(const From* from, std::size_t length, To* to)
{
    std::size_t i = 0;
    for (; i + chunk <= length; i += chunk)
        for (std::size_t j = 0; j < chunk; ++j)
            to[i + j] = To(from[i + j]);
    for (; i < length; ++i)
        to[i] = To(from[i]);
}

const char* findCr(const char* from, const char* end)
{
    return static_cast<const char*>(std::memchr(from, '\r', std::size_t(end - from)));
}

const wchar_t* findCr(const wchar_t* from, const wchar_t* end)
{
    return std::wmemchr(from, L'\r', std::size_t(end - from));
}

// Adds the start of each line that a CR LF inside [data, data + length) ends; data begins at
// position base. Returns whether the last character is a CR, whose LF the caller must look for.
template <typename Char>
bool addBreaks(const Char* data, std::size_t length, std::size_t base,
               std::vector<std::size_t>& starts)
{
    const Char* end = data + length;
    for (const Char* cr = findCr(data, end); cr; cr = findCr(cr + 1, end)) {
        if (cr + 1 == end)
            return true;
        if (cr[1] == Char('\n'))
            starts.push_back(base + std::size_t(cr - data) + 2);
    }
    return false;
}

// Reserves a buffer for a whole document (or its line index) and asks for huge pages, so that
// filling it takes a few hundred page faults instead of tens of thousands: those were most of the
// time to set 100 MB.
template <typename String> void reserveLarge(String& buffer, std::size_t length)
{
    buffer.reserve(length);
    const std::size_t bytes = length * sizeof(buffer[0]);
    if (bytes < hugePage * 2)
        return;
    const auto from =
        (reinterpret_cast<std::uintptr_t>(buffer.data()) + hugePage - 1) & ~(hugePage - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(buffer.data()) + bytes) & ~(hugePage - 1);
    // Only advice: without huge pages the text is the same, just slower to fill.
    madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

// Makes room for more characters at the end of a large buffer, generously: room that is never
// written to costs address space only, while each move copies the text into fresh memory, whose
// first touch costs more than the copy. So a file of some hundred megabytes arrives without one.
template <typename String> void growFor(String& buffer, std::size_t more)
{
    constexpr std::size_t spare = std::size_t(1) << 28;
    const std::size_t needed = buffer.size() + more;
    if (needed <= buffer.capacity())
        return;
    String grown;
    reserveLarge(grown, std::max(needed * 2, needed + spare));
    grown.append(buffer);
    buffer.swap(grown);
}

// Narrows text into narrow block by block and notes its line starts, while every character fits
// in one byte; returns false at the first block that holds one that does not, so a wide text is
// not narrowed to the end. Each block is read from memory once and then from the cache.
bool narrowed(std::wstring_view text, std::string& narrow, std::vector<std::size_t>& starts)
{
    reserveLarge(narrow, text.size());
    char block[assignBlock];
    for (std::size_t done = 0; done < text.size(); done += assignBlock) {
        const std::size_t length = std::min(assignBlock, text.size() - done);
        const wchar_t* from = text.data() + done;
        if (!fitsOneByte(from, length))
            return false;
        convert(from, length, block);
        narrow.append(block, length);
        if (addBreaks(block, length, done, starts) && done + length < text.size() &&
            text[done + length] == L'\n')
            starts.push_back(done + length + 1);
    }
    return true;
}

// Appends a piece, joining it to the last one when the two lie side by side in the same
// buffer; this is what keeps a run of typing, or an undone deletion, one piece.
void appendPiece(TextStore::Stretch& stretch, const TextStore::Piece& piece)
{
    if (piece.length == 0)
        return;
    if (!stretch.empty()) {
        TextStore::Piece& last = stretch.back();
        if (last.added == piece.added && last.start + last.length == piece.start) {
            last.length += piece.length;
            return;
        }
    }
    stretch.push_back(piece);
}

} // namespace

TextStore::TextStore() : starts_{0} {}

void TextStore::assign(std::wstring_view text)
{
    // Fresh buffers free the old ones: a document that shrinks keeps no hundred megabytes of
    // capacity behind it.
    added_ = std::wstring();
    narrow_ = std::string();
    wide_ = std::wstring();
    starts_ = std::vector<std::size_t>();
    // Typical lines are far longer than 16 characters; capacity that is never written to costs
    // address space only, and later edits seldom have to move the index.
    reserveLarge(starts_, text.size() / 16 + 1);
    starts_.push_back(0);
    isWide_ = !narrowed(text, narrow_, starts_);
    if (isWide_) {
        narrow_ = std::string();
        starts_.resize(1);
        reserveLarge(wide_, text.size());
        wide_.assign(text);
        addBreaks(wide_.data(), wide_.size(), 0, starts_);
    }
    size_ = text.size();
    pieces_.clear();
    pieceEnds_.clear();
    if (size_ > 0) {
        pieces_.push_back({false, 0, size_});
        pieceEnds_.push_back(size_);
    }
    longestKnown_ = false;
}

// A large text handed over in parts (a file opened a few megabytes at a time) goes after the text
// as set, one byte a character while it can be: in the typed buffer it would take four.
std::size_t TextStore::appendToOriginal(std::wstring_view text)
{
    if (!isWide_ && !fitsOneByte(text.data(), text.size())) {
        reserveLarge(wide_, narrow_.size() + text.size());
        wide_.resize(narrow_.size());
        convert(reinterpret_cast<const unsigned char*>(narrow_.data()), narrow_.size(),
                wide_.data());
        narrow_ = std::string();
        isWide_ = true;
    }
    if (isWide_) {
        const std::size_t start = wide_.size();
        growFor(wide_, text.size());
        wide_.append(text);
        return start;
    }
    const std::size_t start = narrow_.size();
    growFor(narrow_, text.size());
    narrow_.resize(start + text.size());
    convert(text.data(), text.size(), narrow_.data() + start);
    return start;
}

wchar_t TextStore::at(std::size_t position) const
{
    if (position >= size_)
        return L'\0';
    const auto index = std::size_t(
        std::upper_bound(pieceEnds_.begin(), pieceEnds_.end(), position) - pieceEnds_.begin());
    const Piece& piece = pieces_[index];
    const std::size_t offset = piece.start + position - (pieceEnds_[index] - piece.length);
    if (piece.added)
        return added_[offset];
    return isWide_ ? wide_[offset] : wchar_t(static_cast<unsigned char>(narrow_[offset]));
}

std::size_t TextStore::copy(std::size_t position, std::size_t count, wchar_t* out) const
{
    position = std::min(position, size_);
    count = std::min(count, size_ - position);
    const Stretch pieces = stretch(position, count);
    wchar_t* to = out;
    for (const Piece& piece : pieces) {
        if (piece.added) {
            std::wmemcpy(to, added_.data() + piece.start, piece.length);
        } else if (isWide_) {
            std::wmemcpy(to, wide_.data() + piece.start, piece.length);
        } else {
            convert(reinterpret_cast<const unsigned char*>(narrow_.data()) + piece.start,
                    piece.length, to);
        }
        to += piece.length;
    }
    return count;
}

std::wstring TextStore::text(std::size_t position, std::size_t count) const
{
    position = std::min(position, size_);
    std::wstring result(std::min(count, size_ - position), L'\0');
    copy(position, result.size(), result.data());
    return result;
}

void TextStore::replace(std::size_t position, std::size_t count, std::wstring_view text)
{
    if (text.size() >= largeInsert) {
        const Piece inserted{false, appendToOriginal(text), text.size()};
        replace(position, count, Stretch{inserted});
        return;
    }
    const Piece typed{true, added_.size(), text.size()};
    added_.append(text);
    replace(position, count, Stretch{typed});
}

TextStore::Stretch TextStore::stretch(std::size_t position, std::size_t count) const
{
    Stretch result;
    position = std::min(position, size_);
    const std::size_t end = position + std::min(count, size_ - position);
    auto index = std::size_t(std::upper_bound(pieceEnds_.begin(), pieceEnds_.end(), position) -
                             pieceEnds_.begin());
    for (; index < pieces_.size() && position < end; ++index) {
        const Piece& piece = pieces_[index];
        const std::size_t pieceStart = pieceEnds_[index] - piece.length;
        const std::size_t to = std::min(end, pieceEnds_[index]);
        appendPiece(result, {piece.added, piece.start + position - pieceStart, to - position});
        position = to;
    }
    return result;
}

void TextStore::replace(std::size_t position, std::size_t count, const Stretch& text)
{
    position = std::min(position, size_);
    count = std::min(count, size_ - position);
    const std::size_t inserted = lengthOf(text);
    if (count == 0 && inserted == 0)
        return;
    const std::size_t line = lineOf(position);
    const bool withinLine = lineOf(position + count) == line;
    const std::size_t oldLength = lineLength(line);
    const std::size_t oldLines = lineCount();
    replacePieces(position, count, text);
    size_ = size_ - count + inserted;
    updateLines(position, count, inserted);
    // A key press changes one line: the longest follows from it unless that line was the longest
    // and shrank. Anything else is measured again when asked, which costs a pass over the lines.
    const std::size_t newLength = lineLength(line);
    longestKnown_ = longestKnown_ && withinLine && lineCount() == oldLines &&
                    lineOf(position + inserted) == line &&
                    (oldLength < longest_ || newLength >= oldLength);
    if (longestKnown_)
        longest_ = std::max(longest_, newLength);
}

void TextStore::append(Stretch& stretch, const Stretch& more)
{
    for (const Piece& piece : more)
        appendPiece(stretch, piece);
}

std::size_t TextStore::lengthOf(const Stretch& stretch)
{
    std::size_t length = 0;
    for (const Piece& piece : stretch)
        length += piece.length;
    return length;
}

// Rebuilds only the pieces around the edit: the neighbours on both sides are taken in too, so
// the new pieces join them where they lie side by side (typing at the end of the last typed
// piece extends it).
void TextStore::replacePieces(std::size_t position, std::size_t count, const Stretch& text)
{
    const std::size_t end = position + count;
    const auto first = std::size_t(
        std::upper_bound(pieceEnds_.begin(), pieceEnds_.end(), position) - pieceEnds_.begin());
    const auto last = std::size_t(std::upper_bound(pieceEnds_.begin(), pieceEnds_.end(), end) -
                                  pieceEnds_.begin());
    const std::size_t begin = first > 0 ? first - 1 : 0;
    const std::size_t stop = std::min(last + 1, pieces_.size());
    const std::size_t from = begin > 0 ? pieceEnds_[begin - 1] : 0;
    const std::size_t to = stop > 0 ? pieceEnds_[stop - 1] : 0;

    Stretch middle = stretch(from, position - from);
    append(middle, text);
    append(middle, stretch(end, to - end));

    const auto at = pieces_.begin() + std::ptrdiff_t(begin);
    const std::size_t replaced = stop - begin;
    const std::size_t common = std::min(replaced, middle.size());
    std::copy_n(middle.begin(), common, at);
    if (replaced > common)
        pieces_.erase(at + std::ptrdiff_t(common), at + std::ptrdiff_t(replaced));
    else
        pieces_.insert(at + std::ptrdiff_t(common), middle.begin() + std::ptrdiff_t(common),
                       middle.end());

    pieceEnds_.resize(pieces_.size());
    std::size_t sum = from;
    for (std::size_t i = begin; i < pieces_.size(); ++i) {
        sum += pieces_[i].length;
        pieceEnds_[i] = sum;
    }
}

// A line break whose CR is at b is gone when the edit removed its CR or LF or came between them,
// that is when b is in [position - 1, position + removed); the later ones move by the size
// difference, and new pairs can only have their CR in [position - 1, position + inserted).
void TextStore::updateLines(std::size_t position, std::size_t removed, std::size_t inserted)
{
    const auto lost = std::lower_bound(starts_.begin() + 1, starts_.end(), position + 1);
    const auto kept = std::lower_bound(lost, starts_.end(), position + removed + 2);
    for (auto start = kept; start != starts_.end(); ++start)
        *start = *start - removed + inserted;

    const std::size_t scanFrom = position > 0 ? position - 1 : 0;
    const std::size_t scanTo = std::min(position + inserted + 1, size_);
    const auto scan = [&](std::vector<std::size_t>& found) {
        std::size_t base = scanFrom;
        for (const Piece& piece : stretch(scanFrom, scanTo - scanFrom)) {
            bool crAtEnd = false;
            if (piece.added)
                crAtEnd = addBreaks(added_.data() + piece.start, piece.length, base, found);
            else if (isWide_)
                crAtEnd = addBreaks(wide_.data() + piece.start, piece.length, base, found);
            else
                crAtEnd = addBreaks(narrow_.data() + piece.start, piece.length, base, found);
            base += piece.length;
            // A CR that ends a piece pairs with an LF that starts the next; past the end of the
            // scan the pair was there before and its line start is kept.
            if (crAtEnd && base < scanTo && at(base) == L'\n')
                found.push_back(base + 1);
        }
    };
    if (kept == starts_.end()) {
        // Nothing follows, so the new starts go straight onto the end of the index.
        starts_.erase(lost, kept);
        scan(starts_);
        return;
    }
    std::vector<std::size_t> found;
    scan(found);
    const std::size_t common = std::min(std::size_t(kept - lost), found.size());
    std::copy_n(found.begin(), common, lost);
    if (std::size_t(kept - lost) > common)
        starts_.erase(lost + std::ptrdiff_t(common), kept);
    else
        starts_.insert(lost + std::ptrdiff_t(common), found.begin() + std::ptrdiff_t(common),
                       found.end());
}

std::size_t TextStore::lineStart(std::size_t line) const
{
    return line < starts_.size() ? starts_[line] : size_;
}

std::size_t TextStore::lineLength(std::size_t line) const
{
    if (line >= starts_.size())
        return 0;
    const std::size_t end = line + 1 < starts_.size() ? starts_[line + 1] - 2 : size_;
    return end - starts_[line];
}

std::size_t TextStore::lineOf(std::size_t position) const
{
    return std::size_t(std::upper_bound(starts_.begin(), starts_.end(), position) -
                       starts_.begin()) -
           1;
}

std::size_t TextStore::longestLine() const
{
    if (!longestKnown_) {
        longest_ = 0;
        for (std::size_t line = 0; line < starts_.size(); ++line)
            longest_ = std::max(longest_, lineLength(line));
        longestKnown_ = true;
    }
    return longest_;
}

} // namespace platform
