// The edit control's text as a piece table over the texts set or inserted whole and the typed
// buffer, with the index of line starts kept up to date edit by edit.
#include "platform/text/text_store.h"

#include "platform/text/huge_pages.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

namespace platform {

namespace {

// Characters checked and narrowed at a time while keeping a whole text.
constexpr std::size_t narrowBlock = 16384;
// Inserted texts at least this long go to the shared buffers, at a byte a character where they
// can, instead of joining the typed one.
constexpr std::size_t largeInsert = 4096;

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

const unsigned char* findCr(const unsigned char* from, const unsigned char* end)
{
    return static_cast<const unsigned char*>(std::memchr(from, '\r', std::size_t(end - from)));
}

const wchar_t* findCr(const wchar_t* from, const wchar_t* end)
{
    return std::wmemchr(from, L'\r', std::size_t(end - from));
}

// Calls found with the start of each line that a CR LF inside [data, data + length) ends; data
// begins at position base. Returns whether the last character is a CR, whose LF the caller must
// look for.
template <typename Char, typename Found>
bool addBreaks(const Char* data, std::size_t length, std::size_t base, Found found)
{
    const Char* end = data + length;
    for (const Char* cr = findCr(data, end); cr; cr = findCr(cr + 1, end)) {
        if (cr + 1 == end)
            return true;
        if (cr[1] == Char('\n'))
            found(base + std::size_t(cr - data) + 2);
    }
    return false;
}

// Memory for a buffer that is never moved, on huge pages: filling a large one then takes a few
// hundred page faults instead of tens of thousands, which were most of the time to set 100 MB.
// Without memory it fails as the standard containers do.
template <typename Char> Char* allocate(std::size_t count)
{
    void* memory = allocateOnHugePages(std::max<std::size_t>(count, 1) * sizeof(Char));
    if (!memory)
        throw std::bad_alloc();
    return static_cast<Char*>(memory);
}

// Narrows text into narrow block by block while every character fits in one byte, calling
// onBlock with each block while it is still in the cache; returns false at the first block that
// holds one that does not, so a wide text is not narrowed to the end.
template <typename OnBlock>
bool narrowed(std::wstring_view text, unsigned char* narrow, OnBlock onBlock)
{
    for (std::size_t done = 0; done < text.size(); done += narrowBlock) {
        const std::size_t length = std::min(narrowBlock, text.size() - done);
        const wchar_t* from = text.data() + done;
        if (!fitsOneByte(from, length))
            return false;
        convert(from, length, narrow + done);
        onBlock(narrow + done, done, length);
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
        if (last.buffer == piece.buffer && last.start + last.length == piece.start) {
            last.length += piece.length;
            return;
        }
    }
    stretch.push_back(piece);
}

} // namespace

void TextStore::FreeMemory::operator()(void* memory) const
{
    std::free(memory);
}

TextStore::TextStore(std::size_t linesPerBlock, std::size_t slab)
    : slab_(std::max<std::size_t>(slab, 1)), lines_(linesPerBlock)
{
}

void TextStore::assign(std::wstring_view text)
{
    // Fresh buffers free the old ones: a document that shrinks keeps no gigabyte behind it.
    added_ = std::wstring();
    wholes_ = std::vector<Whole>();
    pieces_ = std::vector<Piece>();
    pieceEnds_ = std::vector<std::size_t>();
    narrowSlab_ = wideSlab_ = 0;
    lines_.clear();
    size_ = text.size();
    if (size_ == 0)
        return;
    pieces_.push_back(keepWhole(text));
    pieceEnds_.push_back(size_);
}

TextStore::Piece TextStore::keepWhole(std::wstring_view text)
{
    const auto note = [this](std::size_t start) { lines_.append(start); };
    Whole whole;
    whole.capacity = whole.used = text.size();
    whole.narrow.reset(allocate<unsigned char>(text.size()));
    const bool narrow =
        narrowed(text, whole.narrow.get(),
                 [&](const unsigned char* block, std::size_t from, std::size_t length) {
                     // A CR that ends a block pairs with an LF that starts the next.
                     if (addBreaks(block, length, from, note) && from + length < text.size() &&
                         text[from + length] == L'\n')
                         note(from + length + 1);
                 });
    if (!narrow) {
        whole.narrow.reset();
        whole.wide.reset(allocate<wchar_t>(text.size()));
        std::wmemcpy(whole.wide.get(), text.data(), text.size());
        lines_.clear();
        addBreaks(whole.wide.get(), text.size(), 0, note);
    }
    wholes_.push_back(std::move(whole));
    return {std::uint32_t(wholes_.size()), 0, text.size()};
}

// A file opened a megabyte at a time arrives as a thousand insertions a gigabyte: a buffer of
// their own each would cost a page fault every few kilobytes, while shared buffers large enough
// for huge pages take one every two megabytes. Untouched room in a shared buffer costs no memory.
// The buffers grow with the text, so a small text holds little room.
TextStore::Piece TextStore::keepInserted(std::wstring_view text)
{
    const std::uint32_t narrow = slabWithRoom(narrowSlab_, false, text.size());
    const Whole& into = wholes_[narrow - 1];
    // A text that turns out wide leaves what it narrowed as room: used has not moved.
    if (narrowed(text, into.narrow.get() + into.used, [](auto...) {}))
        return takeUp(narrow, text.size());
    const std::uint32_t wide = slabWithRoom(wideSlab_, true, text.size());
    const Whole& wideInto = wholes_[wide - 1];
    std::wmemcpy(wideInto.wide.get() + wideInto.used, text.data(), text.size());
    return takeUp(wide, text.size());
}

TextStore::Piece TextStore::takeUp(std::uint32_t buffer, std::size_t count)
{
    Whole& whole = wholes_[buffer - 1];
    whole.used += count;
    return {buffer, whole.used - count, count};
}

std::uint32_t TextStore::slabWithRoom(std::uint32_t& slab, bool wide, std::size_t count)
{
    if (slab != 0 && wholes_[slab - 1].capacity - wholes_[slab - 1].used >= count)
        return slab;
    // As large as the text so far, up to a full slab: a small file's text takes small buffers,
    // which need no huge pages that would hold twice its size.
    Whole whole;
    whole.capacity = std::max(count, std::min(slab_, size_));
    if (wide)
        whole.wide.reset(allocate<wchar_t>(whole.capacity));
    else
        whole.narrow.reset(allocate<unsigned char>(whole.capacity));
    wholes_.push_back(std::move(whole));
    slab = std::uint32_t(wholes_.size());
    return slab;
}

template <typename Read> auto TextStore::read(const Piece& piece, Read read) const
{
    if (piece.buffer == 0)
        return read(added_.data() + piece.start);
    const Whole& whole = wholes_[piece.buffer - 1];
    if (whole.wide)
        return read(whole.wide.get() + piece.start);
    return read(whole.narrow.get() + piece.start);
}

std::size_t TextStore::pieceAt(std::size_t position) const
{
    return std::size_t(std::upper_bound(pieceEnds_.begin(), pieceEnds_.end(), position) -
                       pieceEnds_.begin());
}

wchar_t TextStore::at(std::size_t position) const
{
    if (position >= size_)
        return L'\0';
    const std::size_t index = pieceAt(position);
    const Piece& piece = pieces_[index];
    const std::size_t offset = position - (pieceEnds_[index] - piece.length);
    return read(piece, [offset](const auto* data) { return wchar_t(data[offset]); });
}

std::size_t TextStore::copy(std::size_t position, std::size_t count, wchar_t* out) const
{
    position = std::min(position, size_);
    count = std::min(count, size_ - position);
    wchar_t* to = out;
    forEachPiece(position, count, [&](const Piece& piece) {
        read(piece, [&](const auto* data) { convert(data, piece.length, to); });
        to += piece.length;
    });
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
        replace(position, count, Stretch{keepInserted(text)});
        return;
    }
    const Piece typed{0, added_.size(), text.size()};
    added_.append(text);
    replace(position, count, Stretch{typed});
}

template <typename Visit>
void TextStore::forEachPiece(std::size_t position, std::size_t count, Visit visit) const
{
    position = std::min(position, size_);
    const std::size_t end = position + std::min(count, size_ - position);
    for (std::size_t index = pieceAt(position); index < pieces_.size() && position < end; ++index) {
        const Piece& piece = pieces_[index];
        const std::size_t pieceStart = pieceEnds_[index] - piece.length;
        const std::size_t to = std::min(end, pieceEnds_[index]);
        visit(Piece{piece.buffer, piece.start + position - pieceStart, to - position});
        position = to;
    }
}

TextStore::Stretch TextStore::stretch(std::size_t position, std::size_t count) const
{
    Stretch result;
    forEachPiece(position, count, [&result](const Piece& piece) { appendPiece(result, piece); });
    return result;
}

void TextStore::replace(std::size_t position, std::size_t count, const Stretch& text)
{
    position = std::min(position, size_);
    count = std::min(count, size_ - position);
    const std::size_t inserted = lengthOf(text);
    if (count == 0 && inserted == 0)
        return;
    replacePieces(position, count, text);
    size_ = size_ - count + inserted;
    updateLines(position, count, inserted);
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
    const std::size_t first = pieceAt(position);
    const std::size_t last = pieceAt(end);
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
// that is when b is in [position - 1, position + removed); new pairs can only have their CR in
// [position - 1, position + inserted), and the index moves the rest.
void TextStore::updateLines(std::size_t position, std::size_t removed, std::size_t inserted)
{
    const std::size_t scanFrom = position > 0 ? position - 1 : 0;
    const std::size_t scanTo = std::min(position + inserted + 1, size_);
    std::vector<std::size_t> found;
    const auto note = [&found](std::size_t start) { found.push_back(start); };
    std::size_t base = scanFrom;
    for (const Piece& piece : stretch(scanFrom, scanTo - scanFrom)) {
        const bool crAtEnd = read(
            piece, [&](const auto* data) { return addBreaks(data, piece.length, base, note); });
        base += piece.length;
        // A CR that ends a piece pairs with an LF that starts the next; past the end of the scan
        // the pair was there before and its line start is kept.
        if (crAtEnd && base < scanTo && at(base) == L'\n')
            note(base + 1);
    }
    lines_.edit(position, removed, inserted, found);
}

std::size_t TextStore::lineStart(std::size_t line) const
{
    return line < lines_.count() ? lines_.start(line) : size_;
}

std::size_t TextStore::lineLength(std::size_t line) const
{
    if (line >= lines_.count())
        return 0;
    const std::size_t end = line + 1 < lines_.count() ? lines_.start(line + 1) - 2 : size_;
    return end - lines_.start(line);
}

std::size_t TextStore::lineOf(std::size_t position) const
{
    return lines_.lineOf(position);
}

std::size_t TextStore::longestLine() const
{
    return lines_.longest(size_);
}

} // namespace platform
