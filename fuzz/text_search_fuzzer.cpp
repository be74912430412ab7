// The searches against the plainest searches there are, on texts and needles of few letters so
// that near misses and overlapping matches are common: forward, backward, without case (capitals
// among the letters), and replacing every occurrence.
#include "fuzz/check.h"
#include "search/text_replace.h"
#include "search/text_search.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::wstring fewLetters(FuzzedDataProvider& input, std::size_t maxLength, bool capitals = false)
{
    const std::size_t letters = input.ConsumeIntegralInRange<std::size_t>(1, 4);
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    std::wstring text;
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        const wchar_t first = capitals && input.ConsumeBool() ? L'A' : L'a';
        text += wchar_t(first + input.ConsumeIntegralInRange<std::size_t>(0, letters - 1));
    }
    return text;
}

// Capitals fold to small letters: a fold of its own, to check the search, not the platform.
const CaseFold& lettersFold()
{
    static const CaseFold fold = [] {
        std::vector<wchar_t> table(128);
        for (std::size_t c = 0; c < table.size(); ++c)
            table[c] = wchar_t(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return CaseFold(std::move(table));
    }();
    return fold;
}

std::wstring folded(std::wstring text)
{
    for (wchar_t& c : text)
        c = lettersFold()(c);
    return text;
}

std::size_t plainBackward(const std::wstring& text, std::size_t end, const std::wstring& needle)
{
    end = std::min(end, text.size());
    if (needle.size() > end)
        return noMatch;
    const std::size_t found = text.rfind(needle, end - needle.size());
    return found == std::wstring::npos ? noMatch : found;
}

std::wstring plainReplaceAll(const std::wstring& text, const std::wstring& needle,
                             const std::wstring& with)
{
    std::wstring result;
    for (std::size_t at = 0; at < text.size();) {
        if (!needle.empty() && text.compare(at, needle.size(), needle) == 0) {
            result += with;
            at += needle.size();
        } else {
            result += text[at++];
        }
    }
    return result;
}

std::size_t plainSearch(const std::wstring& text, std::size_t start, const std::wstring& needle)
{
    for (std::size_t p = start; p <= text.size() && text.size() - p >= needle.size(); ++p) {
        if (text.compare(p, needle.size(), needle) == 0)
            return p;
    }
    return noMatch;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool ignoreCase = input.ConsumeBool();
    const CaseFold* fold = ignoreCase ? &lettersFold() : nullptr;
    const std::wstring needle = fewLetters(input, 12, ignoreCase);
    const std::size_t start = input.ConsumeIntegralInRange<std::size_t>(0, 600);
    const std::wstring text = fewLetters(input, 512, ignoreCase);
    const std::wstring plainText = ignoreCase ? folded(text) : text;
    const std::wstring plainNeedle = ignoreCase ? folded(needle) : needle;
    require(findForward(text, start, needle, fold) == plainSearch(plainText, start, plainNeedle),
            "the first match at or after the start");
    require(findBackward(text, start, needle, fold) == plainBackward(plainText, start, plainNeedle),
            "the last match ending at or before the start");
    // Replace all in the text's own buffer, what followed the stretch put back after it.
    const std::wstring with = fewLetters(input, 4);
    const TextSearch search(needle, fold);
    const Occurrences found = occurrencesOf(text, search, needle.size());
    std::wstring replaced = text;
    if (found.count > 0) {
        const std::size_t end = replacedEnd(found, needle.size(), with.size());
        replaced.resize(std::max(text.size(), end), L'#');
        replaceInPlace(replaced.data(), found, search, needle.size(), with);
        replaced = replaced.substr(0, end) + text.substr(found.end);
    }
    require(folded(replaced) == folded(plainReplaceAll(plainText, plainNeedle, with)),
            "every occurrence replaced");
    // Every later match, as Find Next walks them: each search starts right after the last match.
    std::size_t at = start;
    for (int step = 0; step < 64 && !needle.empty(); ++step) {
        const std::size_t next = findForward(text, at, needle);
        require(next == plainSearch(text, at, needle), "the next match");
        if (next == noMatch)
            break;
        at = next + needle.size();
    }
    return 0;
}
