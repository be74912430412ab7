// Replacing every occurrence of a string in a text at once, as one new stretch of text.
#pragma once

#include "search/text_search.h"

#include <cstddef>
#include <string>
#include <string_view>

struct Replacement {
    std::size_t count = 0; // occurrences replaced; when 0 nothing else is set
    std::size_t start = 0; // the stretch the new text takes the place of
    std::size_t end = 0;
    std::wstring text;
};

// Every occurrence of needle in text, left to right and not overlapping, replaced by with. Only
// the stretch from the first occurrence to the end of the last one is made anew, in one piece of
// exactly its size. An empty needle replaces nothing.
Replacement replaceAll(std::wstring_view text, std::wstring_view needle, std::wstring_view with,
                       const CaseFold* fold);
