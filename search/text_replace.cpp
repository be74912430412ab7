// Replace all in the text's own buffer. A replacement no longer than the needle is written
// left to right behind the search, which reads only what is still unwritten; a longer one is
// written from the end backwards, from the occurrences' places noted first.
#include "search/text_replace.h"

#include <cwchar>
#include <vector>

Occurrences occurrencesOf(std::wstring_view text, const TextSearch& search,
                          std::size_t needleLength)
{
    Occurrences found;
    if (needleLength == 0)
        return found;
    for (std::size_t at = search.forward(text, 0); at != noMatch;
         at = search.forward(text, at + needleLength)) {
        if (found.count++ == 0)
            found.start = at;
        found.end = at + needleLength;
    }
    return found;
}

std::size_t replacedEnd(const Occurrences& found, std::size_t needleLength,
                        std::size_t replacementLength)
{
    return found.end - found.count * needleLength + found.count * replacementLength;
}

void replaceInPlace(wchar_t* text, const Occurrences& found, const TextSearch& search,
                    std::size_t needleLength, std::wstring_view with)
{
    const std::wstring_view original(text, found.end);
    const auto next = [&](std::size_t at) { return search.forward(original, at + needleLength); };
    if (with.size() <= needleLength) {
        std::size_t written = found.start;
        std::size_t from = found.start;
        for (std::size_t at = found.start; found.count > 0 && at != noMatch; at = next(at)) {
            std::wmemmove(text + written, text + from, at - from);
            written += at - from;
            std::wmemcpy(text + written, with.data(), with.size());
            written += with.size();
            from = at + needleLength;
        }
        return;
    }
    std::vector<std::size_t> places;
    places.reserve(found.count);
    for (std::size_t at = found.start; found.count > 0 && at != noMatch; at = next(at))
        places.push_back(at);
    std::size_t written = replacedEnd(found, needleLength, with.size());
    std::size_t from = found.end;
    for (auto place = places.rbegin(); place != places.rend(); ++place) {
        const std::size_t kept = from - (*place + needleLength);
        written -= kept;
        std::wmemmove(text + written, text + *place + needleLength, kept);
        written -= with.size();
        std::wmemcpy(text + written, with.data(), with.size());
        from = *place;
    }
}
