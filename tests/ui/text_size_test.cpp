// The sizes of text blocks at the 32-bit build's width: near 2^32 they must refuse, not wrap.
#include "ui/text_size.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(TextSize, ABlockTooLargeFor32BitsIsRefusedInsteadOfWrapping)
{
    const struct {
        std::uint32_t length;
        std::uint32_t characterSize;
        std::optional<std::uint32_t> bytes;
    } rows[] = {
        {0, 2, 2u},
        {0x7FFFFFFE, 2, 0xFFFFFFFEu},
        {0x7FFFFFFF, 2, std::nullopt}, // 2^32: GetWindowTextLengthW's largest answer
        {0xFFFFFFFF, 1, std::nullopt}, // the zero after it wraps
        {0x3FFFFFFF, 4, std::nullopt},
        {0x3FFFFFFE, 4, 0xFFFFFFFCu},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.length << " characters of " << row.characterSize);
        EXPECT_EQ(textBlockBytes(row.length, row.characterSize), row.bytes);
    }
}

} // namespace
