// Sizes of texts in memory, computed so that they cannot wrap around: on the 32-bit build a
// size_t ends below 2^32, and a size that wrapped would ask for a small block that the text then
// runs past. Each takes the width of its sizes from its arguments, so the 32-bit arithmetic is
// the same on every build.
#pragma once

#include "platform/win32.h"

#include <concepts>
#include <limits>
#include <optional>

// The longest text: GetWindowTextLengthW returns an int, and GetWindowTextW is handed that length
// plus one for the terminating zero, which must be an int as well.
constexpr ULONGLONG maxTextLength = 0x7FFFFFFE;

template <std::unsigned_integral Size> std::optional<Size> sizeSum(Size a, Size b)
{
    if (a > std::numeric_limits<Size>::max() - b)
        return std::nullopt;
    return Size(a + b);
}

template <std::unsigned_integral Size> std::optional<Size> sizeProduct(Size a, Size b)
{
    if (b != 0 && a > std::numeric_limits<Size>::max() / b)
        return std::nullopt;
    return Size(a * b);
}

// The bytes of a block for a text of length characters and the zero after it.
template <std::unsigned_integral Size>
std::optional<Size> textBlockBytes(Size length, Size characterSize)
{
    const std::optional<Size> withZero = sizeSum(length, Size(1));
    return withZero ? sizeProduct(*withZero, characterSize) : std::nullopt;
}
