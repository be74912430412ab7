// Forward search for a string in a text, in time linear in both.
#pragma once

#include <cstddef>
#include <string_view>

inline constexpr std::size_t noMatch = std::size_t(-1);

// The smallest position p >= start where needle occurs in text as an exact run of characters,
// or noMatch. An empty needle matches at start whenever start is inside the text or at its end.
std::size_t findForward(std::wstring_view text, std::size_t start, std::wstring_view needle);
