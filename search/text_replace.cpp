// Replace all in two passes: the first counts the occurrences and finds where the changed stretch
// begins and ends, so the second writes the new stretch into memory of exactly its size.
#include "search/text_replace.h"

Replacement replaceAll(std::wstring_view text, std::wstring_view needle, std::wstring_view with,
                       const CaseFold* fold)
{
    Replacement result;
    if (needle.empty())
        return result;
    const TextSearch search(needle, fold);
    for (std::size_t at = search.forward(text, 0); at != noMatch;
         at = search.forward(text, at + needle.size())) {
        if (result.count++ == 0)
            result.start = at;
        result.end = at + needle.size();
    }
    if (result.count == 0)
        return result;
    const std::size_t kept = result.end - result.start - result.count * needle.size();
    result.text.reserve(kept + result.count * with.size());
    const std::wstring_view changed = text.substr(0, result.end);
    std::size_t from = result.start;
    for (std::size_t at = result.start; at != noMatch;
         at = search.forward(changed, at + needle.size())) {
        result.text.append(text.substr(from, at - from));
        result.text.append(with);
        from = at + needle.size();
    }
    return result;
}
