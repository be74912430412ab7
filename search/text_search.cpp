// Knuth-Morris-Pratt: the text is read once, left to right, and never backed up, so a miss on a
// long document costs one pass however repetitive the needle and the text are.
#include "search/text_search.h"

#include <cwchar>
#include <vector>

namespace {

// borders[q] is the length of the longest proper prefix of needle[0..q] that is also its suffix:
// after q + 1 matched characters and a mismatch, that many are still matched.
std::vector<std::size_t> bordersOf(std::wstring_view needle)
{
    std::vector<std::size_t> borders(needle.size(), 0);
    std::size_t length = 0;
    for (std::size_t q = 1; q < needle.size(); ++q) {
        while (length > 0 && needle[q] != needle[length])
            length = borders[length - 1];
        if (needle[q] == needle[length])
            ++length;
        borders[q] = length;
    }
    return borders;
}

} // namespace

std::size_t findForward(std::wstring_view text, std::size_t start, std::wstring_view needle)
{
    const std::size_t n = needle.size();
    if (start > text.size() || n > text.size() - start)
        return noMatch;
    if (n == 0)
        return start;
    const std::vector<std::size_t> borders = bordersOf(needle);
    std::size_t matched = 0;
    std::size_t i = start;
    while (i < text.size()) {
        if (matched == 0) {
            // Nothing matched: jump to the next place where a match could begin, which the
            // library scans for far faster than a character-by-character loop.
            if (text.size() - i < n)
                return noMatch;
            const wchar_t* hit = std::wmemchr(text.data() + i, needle[0], text.size() - i - n + 1);
            if (!hit)
                return noMatch;
            i = std::size_t(hit - text.data()) + 1;
            matched = 1;
        } else if (text[i] == needle[matched]) {
            ++i;
            ++matched;
        } else {
            matched = borders[matched - 1];
            continue;
        }
        if (matched == n)
            return i - n;
    }
    return noMatch;
}
