// The byte and line-end rules between text files and the edit control's text.
#include "document/text_bytes.h"

#include <algorithm>
#include <cstdint>

std::wstring textFromBytes(std::string_view bytes, std::size_t* zeroBytes)
{
    TextFromBytes text;
    text.reserve(bytes.size());
    text.append(bytes);
    return text.finish(zeroBytes);
}

void TextFromBytes::reserve(std::size_t bytes)
{
    // Most texts gain a CR per line; a tenth more covers lines of ten bytes and up without
    // regrowth.
    text_.reserve(bytes + bytes / 10 + 2);
}

void TextFromBytes::append(std::string_view piece)
{
    if (piece.empty())
        return;
    // A byte gives at most one character, an LF two and a CR held back from the last piece one:
    // sized once, the text is written through a pointer instead of grown character by character.
    const std::size_t used = text_.size();
    const auto lineFeeds = std::size_t(std::count(piece.begin(), piece.end(), '\n'));
    text_.resize(used + piece.size() + lineFeeds + 1);
    wchar_t* out = text_.data() + used;
    std::size_t i = 0;
    if (crPending_) {
        crPending_ = false;
        *out++ = L'\r';
        lineOpen_ = true;
        if (piece[0] == '\n') {
            *out++ = L'\n';
            lineOpen_ = false;
            i = 1;
        }
    }
    for (; i < piece.size(); ++i) {
        const auto byte = static_cast<unsigned char>(piece[i]);
        if (byte > '\r') {
            *out++ = static_cast<wchar_t>(byte);
            lineOpen_ = true;
        } else if (byte == '\n' || (byte == '\r' && i + 1 < piece.size() && piece[i + 1] == '\n')) {
            i += byte == '\r';
            *out++ = L'\r';
            *out++ = L'\n';
            lineOpen_ = false;
        } else if (byte == '\r' && i + 1 == piece.size()) {
            crPending_ = true;
        } else {
            if (byte == 0)
                ++zeros_;
            else
                *out++ = static_cast<wchar_t>(byte);
            lineOpen_ = true;
        }
    }
    text_.resize(std::size_t(out - text_.data()));
}

void TextFromBytes::take(std::wstring& settled)
{
    settled.clear();
    settled.swap(text_);
}

std::wstring TextFromBytes::finish(std::size_t* zeroBytes)
{
    if (crPending_)
        text_ += L'\r';
    if (crPending_ || lineOpen_)
        text_ += L"\r\n";
    if (zeroBytes)
        *zeroBytes = zeros_;
    zeros_ = 0;
    lineOpen_ = false;
    crPending_ = false;
    std::wstring text = std::move(text_);
    text_.clear();
    return text;
}

std::size_t firstUnwritable(std::wstring_view text)
{
    // Whole blocks are tested with one OR over their characters, which the compiler turns into
    // vector code; only a block that holds such a character is searched one by one.
    constexpr std::size_t block = 256;
    for (std::size_t start = 0; start < text.size(); start += block) {
        const std::wstring_view part = text.substr(start, block);
        std::uint32_t all = 0;
        for (const wchar_t c : part)
            all |= static_cast<std::uint32_t>(c);
        if (all <= 0xFF)
            continue;
        for (std::size_t i = 0; i < part.size(); ++i) {
            if (static_cast<std::uint32_t>(part[i]) > 0xFF)
                return start + i;
        }
    }
    return std::wstring_view::npos;
}

std::string bytesFromText(std::wstring_view text)
{
    std::string bytes(text.size(), '\0');
    bytesFromText(text, bytes.data());
    return bytes;
}

void bytesFromText(std::wstring_view text, char* out)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(static_cast<unsigned char>(text[i]));
}

TextPlace placeOf(std::wstring_view text, std::size_t offset)
{
    TextPlace place{1, 1};
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == L'\n') {
            ++place.line;
            place.column = 1;
        } else if (text[i] != L'\r' || i + 1 >= text.size() || text[i + 1] != L'\n') {
            ++place.column;
        }
    }
    return place;
}

char32_t codePointAt(std::wstring_view text, std::size_t offset)
{
    const auto unit = static_cast<std::uint32_t>(text[offset]);
    if (unit >= 0xD800 && unit <= 0xDBFF && offset + 1 < text.size()) {
        const auto low = static_cast<std::uint32_t>(text[offset + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF)
            return char32_t(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    }
    return char32_t(unit);
}
