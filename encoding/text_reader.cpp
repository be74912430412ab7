// Reading a file's bytes into the edit control's text: a chunk at a time through the platform's
// code-page conversion, then the line ends, so the chunk's characters are still in the cache when
// they are copied on.
#include "encoding/text_reader.h"

#include "encoding/text_units.h"
#include "encoding/utf8.h"
#include "platform/win32.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr std::size_t chunkSize = 64 * 1024;
constexpr UINT westernEuropean = 1252;

wchar_t strayByte(char byte)
{
    return wchar_t(strayByteBase + static_cast<unsigned char>(byte));
}

// Appends the characters of bytes in the code page: one byte never gives more than one wide
// character (UTF-8 needs four bytes for a surrogate pair), so the room is known beforehand.
// Returns false, with nothing appended, when the conversion fails: with MB_ERR_INVALID_CHARS,
// at a byte that is part of no character.
bool convertAll(UINT codePage, DWORD flags, std::string_view bytes, std::wstring& out)
{
    // Windows refuses an empty input.
    if (bytes.empty())
        return true;
    const std::size_t used = out.size();
    out.resize(used + bytes.size());
    const int count = MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()),
                                          out.data() + used, int(bytes.size()));
    out.resize(used + std::size_t(count));
    return count > 0;
}

void convert(UINT codePage, std::string_view bytes, std::wstring& out)
{
    // Cannot fail with a buffer this large; if it did, the bytes are kept as they are.
    if (!convertAll(codePage, 0, bytes, out))
        std::transform(bytes.begin(), bytes.end(), std::back_inserter(out), strayByte);
}

struct ChunkCounts {
    std::size_t crs = 0;
    std::size_t lfs = 0;
    std::size_t pairs = 0; // LF after CR
    std::size_t zeros = 0;
};

// A loop that only counts, with no early end and 32-bit counters, becomes vector instructions.
// Chunks are far shorter than 2^32 characters.
ChunkCounts countsOf(std::wstring_view text)
{
    std::uint32_t crs = 0;
    std::uint32_t lfs = 0;
    std::uint32_t pairs = 0;
    std::uint32_t zeros = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 1; i < n; ++i) {
        const wchar_t c = text[i];
        crs += c == L'\r';
        lfs += c == L'\n';
        zeros += c == L'\0';
        pairs += (c == L'\n') & (text[i - 1] == L'\r');
    }
    if (n > 0) {
        crs += text[0] == L'\r';
        lfs += text[0] == L'\n';
        zeros += text[0] == L'\0';
    }
    return {crs, lfs, pairs, zeros};
}

// Text whose every line ends in LF alone: each LF becomes CR LF, the lines between copied whole.
wchar_t* crBeforeEachLf(const std::wstring& text, wchar_t* out)
{
    const wchar_t* from = text.data();
    const wchar_t* end = from + text.size();
    for (const wchar_t* lf; (lf = std::wmemchr(from, L'\n', std::size_t(end - from)));
         from = lf + 1) {
        out = std::copy(from, lf, out);
        *out++ = L'\r';
        *out++ = L'\n';
    }
    return std::copy(from, end, out);
}

std::uint32_t unitAt(std::string_view bytes, std::size_t at, bool bigEndian)
{
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return bigEndian ? std::uint32_t(first << 8 | second) : std::uint32_t(second << 8 | first);
}

} // namespace

void TextReader::reserve(std::size_t bytes)
{
    // Most texts gain a CR per line; a tenth more covers lines of ten bytes and up without
    // regrowth.
    text_.reserve(bytes + bytes / 10 + 2);
}

void TextReader::append(std::string_view piece)
{
    const std::size_t mark = std::min(markLeft_, piece.size());
    piece.remove_prefix(mark);
    markLeft_ -= mark;
    while (!piece.empty()) {
        const std::string_view chunk = piece.substr(0, chunkSize);
        piece.remove_prefix(chunk.size());
        std::string_view bytes = chunk;
        if (!held_.empty()) {
            chunk_.assign(held_).append(chunk);
            bytes = chunk_;
        }
        std::size_t hold = 0;
        if (format_.encoding == Encoding::utf8 || format_.encoding == Encoding::utf8WithMark) {
            hold = unfinishedUtf8Tail(bytes);
        } else if (format_.encoding != Encoding::eightBit) {
            // An odd byte, and a high surrogate whose low one may come next.
            hold = bytes.size() % 2;
            const std::size_t last = bytes.size() - hold;
            if (last >= 2 &&
                isHighSurrogate(unitAt(bytes, last - 2, isBigEndian(format_.encoding))))
                hold += 2;
        }
        held_.assign(bytes.substr(bytes.size() - hold));
        decode(bytes.substr(0, bytes.size() - hold), false);
    }
}

// Decodes straight onto the text: most chunks need nothing more, and are not copied again.
void TextReader::decode(std::string_view bytes, bool last)
{
    const std::size_t from = text_.size();
    switch (format_.encoding) {
    case Encoding::eightBit:
        convert(westernEuropean, bytes, text_);
        break;
    case Encoding::utf8:
    case Encoding::utf8WithMark:
        decodeUtf8(bytes);
        break;
    case Encoding::utf16Le:
    case Encoding::utf16Be:
    case Encoding::utf16LeWithoutMark:
    case Encoding::utf16BeWithoutMark:
        decodeUtf16(bytes, last);
        break;
    }
    breakLines(from);
}

// Well-formed chunks go through the platform's conversion; each stray byte between them
// becomes its lone surrogate.
void TextReader::decodeUtf8(std::string_view bytes)
{
    // Most UTF-8 is well formed: one conversion that refuses anything else takes the chunk, and
    // only a chunk with a stray byte in it is looked through first.
    if (convertAll(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, text_))
        return;
    while (!bytes.empty()) {
        const std::size_t valid = validUtf8Prefix(bytes);
        convert(CP_UTF8, bytes.substr(0, valid), text_);
        bytes.remove_prefix(valid);
        if (!bytes.empty()) {
            text_ += strayByte(bytes[0]);
            bytes.remove_prefix(1);
        }
    }
}

// Every 16-bit unit is kept as it is, a lone surrogate too. Where wchar_t has 32 bits a surrogate
// pair becomes the one character it stands for, as the platform's own text has it there.
void TextReader::decodeUtf16(std::string_view bytes, bool last)
{
    const bool bigEndian = isBigEndian(format_.encoding);
    std::size_t at = 0;
    for (; at + 1 < bytes.size(); at += 2) {
        std::uint32_t unit = unitAt(bytes, at, bigEndian);
        if (sizeof(wchar_t) > 2 && isHighSurrogate(unit) && at + 3 < bytes.size()) {
            const std::uint32_t low = unitAt(bytes, at + 2, bigEndian);
            if (isLowSurrogate(low)) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        text_ += wchar_t(unit);
    }
    // A file of an odd length is not read as UTF-16; should one be, its last byte is kept.
    if (last && at < bytes.size())
        text_ += strayByte(bytes[at]);
}

void TextReader::breakLines(std::size_t from)
{
    if (from == text_.size())
        return;
    const bool crBreaks = format_.lineEnd == LineEnd::cr;
    const ChunkCounts counts = countsOf(std::wstring_view(text_).substr(from));
    // Most files end every line the same way, CR LF or LF: their chunks need no look at each
    // character, which took most of the time of opening a large file. CR LF is the text already.
    const bool plain = !crPending_ && counts.zeros == 0 && text_.back() != L'\r';
    if (plain && counts.crs == counts.lfs && counts.pairs == counts.lfs) {
        note(counts.lfs, false);
        return;
    }
    decoded_.assign(text_, from);
    text_.resize(from);
    const std::size_t n = decoded_.size();
    const std::size_t used = text_.size();
    if (plain && counts.crs == 0) {
        note(counts.lfs, true);
        text_.resize(used + n + counts.lfs);
        crBeforeEachLf(decoded_, text_.data() + used);
        return;
    }
    // Each line end may become two characters, and a CR held back from the chunk before adds one:
    // sized once, the text is written through a pointer instead of grown character by character.
    text_.resize(used + n + counts.crs + counts.lfs + 2);
    wchar_t* out = text_.data() + used;
    std::size_t i = 0;
    if (crPending_) {
        crPending_ = false;
        *out++ = L'\r';
        if (decoded_[0] == L'\n') {
            *out++ = L'\n';
            i = 1;
            note(1, false);
        } else if (crBreaks) {
            *out++ = L'\n';
        }
    }
    for (; i < n; ++i) {
        const wchar_t c = decoded_[i];
        if (c > L'\r') {
            *out++ = c;
        } else if (c == L'\n') {
            *out++ = L'\r';
            *out++ = L'\n';
            note(1, true);
        } else if (c == L'\r' && i + 1 == n) {
            crPending_ = true;
        } else if (c == L'\r') {
            const bool pair = decoded_[i + 1] == L'\n';
            i += pair;
            note(pair, false);
            *out++ = L'\r';
            if (pair || crBreaks)
                *out++ = L'\n';
        } else if (c == 0) {
            ++zeros_;
        } else {
            *out++ = c;
        }
    }
    text_.resize(std::size_t(out - text_.data()));
}

void TextReader::note(std::size_t count, bool lf)
{
    if (forms_)
        forms_->insert(forms_->end(), count, lf);
}

void TextReader::take(std::wstring& settled)
{
    settled.clear();
    settled.swap(text_);
}

std::wstring TextReader::finish(std::size_t* zeros)
{
    decode(held_, true);
    held_.clear();
    if (crPending_)
        text_ += format_.lineEnd == LineEnd::cr ? L"\r\n" : L"\r";
    if (zeros)
        *zeros = zeros_;
    zeros_ = 0;
    crPending_ = false;
    markLeft_ = markOf(format_.encoding).size();
    std::wstring text = std::move(text_);
    text_.clear();
    return text;
}

std::wstring textFromBytes(std::string_view bytes, TextFormat format, std::size_t* zeros)
{
    TextReader reader(format);
    reader.reserve(bytes.size());
    reader.append(bytes);
    return reader.finish(zeros);
}
