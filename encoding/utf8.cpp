// UTF-8 well-formedness as the Unicode standard defines it: the second byte of a sequence has a
// narrower range after E0, ED, F0 and F4, which rules out overlong forms, surrogates and values
// beyond U+10FFFF.
#include "encoding/utf8.h"

#include <cstdint>
#include <cstring>

namespace {

// Steps over ASCII, which is most of most texts, 32 bytes at a time and then eight at a time.
std::size_t skipAscii(std::string_view bytes, std::size_t at)
{
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    for (; at + 32 <= bytes.size(); at += 32) {
        std::uint64_t words[4];
        std::memcpy(words, bytes.data() + at, sizeof words);
        if ((words[0] | words[1] | words[2] | words[3]) & highBits)
            break;
    }
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        if (word & highBits)
            break;
    }
    return at;
}

} // namespace

std::size_t utf8SequenceAt(std::string_view bytes)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[i]);
        if (next < low || next > high)
            return 0;
        low = 0x80;
        high = 0xBF;
    }
    return length;
}

namespace {

// Goes through bytes a sequence at a time, runs of ASCII eight bytes at a time, and tells visit
// the length of each other sequence (0 for a stray byte, which is stepped over) until visit says
// stop; returns where it stopped.
template <typename Visit> std::size_t walkUtf8(std::string_view bytes, Visit visit)
{
    std::size_t at = 0;
    while (at < bytes.size()) {
        at = skipAscii(bytes, at);
        if (at == bytes.size())
            break;
        const std::size_t length = utf8SequenceAt(bytes.substr(at));
        if (!visit(length))
            break;
        at += length == 0 ? 1 : length;
    }
    return at;
}

} // namespace

std::size_t validUtf8Prefix(std::string_view bytes)
{
    return walkUtf8(bytes, [](std::size_t length) { return length != 0; });
}

std::size_t unfinishedUtf8Tail(std::string_view bytes)
{
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if (byte < 0x80)
            return 0;
        if (byte >= 0xC0) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            return length > back ? back : 0;
        }
    }
    return 0;
}

Utf8Census utf8Census(std::string_view bytes)
{
    Utf8Census census;
    walkUtf8(bytes, [&census](std::size_t length) {
        census.sequences += length > 1;
        census.strays += length == 0;
        return true;
    });
    return census;
}
