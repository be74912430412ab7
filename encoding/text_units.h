// The units of the edit control's text that need a second look: surrogates, and the stray bytes
// of UTF-8 files that the text keeps as lone surrogates.
#pragma once

#include <cstdint>

// A byte that is not part of well-formed UTF-8 is kept in the text as the lone low surrogate
// U+DC80 to U+DCFF that carries its value, and written back as that byte: the file keeps it, and
// the rest of the file still reads as UTF-8.
inline constexpr wchar_t strayByteBase = 0xDC00;

inline bool isHighSurrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

inline bool isLowSurrogate(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
