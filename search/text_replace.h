// Replacing every occurrence of a string in a text at once, in the text's own buffer, so that a
// document of a hundred megabytes needs no second copy for the result.
#pragma once

#include "search/text_search.h"
#include "ui/text_size.h"

#include <cstddef>
#include <optional>
#include <string_view>

// Where the occurrences are: how many, left to right and not overlapping, and the stretch from
// the first one's start to the last one's end.
struct Occurrences {
    std::size_t count = 0;
    std::size_t start = 0;
    std::size_t end = 0;
};

Occurrences occurrencesOf(std::wstring_view text, const TextSearch& search,
                          std::size_t needleLength);

// The length of a text of textLength once count occurrences of needleLength are each replaced
// by a text of replacementLength; nothing when it would be longer than the edit control holds,
// which also keeps every size of the replacement from wrapping.
template <std::unsigned_integral Size>
std::optional<Size> replacedLength(Size textLength, Size count, Size needleLength,
                                   Size replacementLength)
{
    const std::optional<Size> removed = sizeProduct(count, needleLength);
    const std::optional<Size> added = sizeProduct(count, replacementLength);
    if (!removed || !added || *removed > textLength)
        return std::nullopt;
    const std::optional<Size> length = sizeSum(Size(textLength - *removed), *added);
    if (!length || ULONGLONG(*length) > maxTextLength)
        return std::nullopt;
    return length;
}

// Where the stretch of the occurrences ends once each is replaced by a text of replacementLength,
// for a replacement that replacedLength has found to fit.
std::size_t replacedEnd(const Occurrences& found, std::size_t needleLength,
                        std::size_t replacementLength);

// Replaces the occurrences by with, in the text's own buffer: the stretch from found.start to
// found.end becomes the one from found.start to replacedEnd, which the buffer must have room for.
// What followed the stretch is not kept.
void replaceInPlace(wchar_t* text, const Occurrences& found, const TextSearch& search,
                    std::size_t needleLength, std::wstring_view with);
