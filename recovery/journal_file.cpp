// The recovery journal's records.
#include "recovery/journal_file.h"

#include <array>

namespace {

constexpr std::string_view firstWords = "Quenwrite journal of copy ";
// A record: length (4), position (8), removed (8), the inserted units (2 each), CRC-32 (4).
constexpr std::size_t fixedPart = 4 + 8 + 8 + 4;
// No record of a text the control can hold is longer: beyond that the bytes are damaged.
constexpr std::uint64_t longestRecord = std::uint64_t(1) << 32;

std::uint32_t crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ std::uint8_t(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendNumber(std::uint64_t value, int bytes, std::string& out)
{
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

std::uint64_t numberAt(std::string_view bytes, std::size_t at, int count)
{
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | std::uint8_t(bytes[at + std::size_t(i)]);
    return value;
}

} // namespace

std::string journalStart(ULONGLONG baseTime)
{
    return std::string(firstWords) + std::to_string(baseTime) + "\n";
}

void appendJournalRecord(std::size_t position, std::size_t removed, std::wstring_view inserted,
                         std::string& bytes)
{
    const std::size_t start = bytes.size();
    appendNumber(fixedPart + 2 * inserted.size(), 4, bytes);
    appendNumber(position, 8, bytes);
    appendNumber(removed, 8, bytes);
    for (const wchar_t unit : inserted)
        appendNumber(std::uint16_t(unit), 2, bytes);
    appendNumber(crc32(std::string_view(bytes).substr(start)), 4, bytes);
}

std::size_t journalStartLength(std::string_view bytes, ULONGLONG baseTime)
{
    const std::string expected = journalStart(baseTime);
    return bytes.starts_with(expected) ? expected.size() : 0;
}

std::size_t parseJournalRecord(std::string_view bytes, JournalChange& change)
{
    if (bytes.size() < fixedPart)
        return 0;
    const std::uint64_t length = numberAt(bytes, 0, 4);
    if (length < fixedPart || length > longestRecord || length > bytes.size() ||
        (length - fixedPart) % 2 != 0)
        return 0;
    const auto size = std::size_t(length);
    if (crc32(bytes.substr(0, size - 4)) != numberAt(bytes, size - 4, 4))
        return 0;
    change.position = std::size_t(numberAt(bytes, 4, 8));
    change.removed = std::size_t(numberAt(bytes, 12, 8));
    change.inserted.clear();
    for (std::size_t at = 20; at + 4 < size; at += 2)
        change.inserted += wchar_t(numberAt(bytes, at, 2));
    return size;
}
