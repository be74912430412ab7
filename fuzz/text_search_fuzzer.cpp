// The forward search against the plainest search there is, on texts and needles of few letters
// so that near misses and overlapping matches are common.
#include "fuzz/check.h"
#include "search/text_search.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::wstring fewLetters(FuzzedDataProvider& input, std::size_t maxLength)
{
    const std::size_t letters = input.ConsumeIntegralInRange<std::size_t>(1, 4);
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    std::wstring text;
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i)
        text += wchar_t(L'a' + input.ConsumeIntegralInRange<std::size_t>(0, letters - 1));
    return text;
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
    const std::wstring needle = fewLetters(input, 12);
    const std::size_t start = input.ConsumeIntegralInRange<std::size_t>(0, 600);
    const std::wstring text = fewLetters(input, 512);
    require(findForward(text, start, needle) == plainSearch(text, start, needle),
            "the first match at or after the start");
    // Every later match, as Find Next walks them: each search starts right after the last match.
    std::size_t at = start;
    for (int step = 0; step < 64 && !needle.empty(); ++step) {
        const std::size_t found = findForward(text, at, needle);
        require(found == plainSearch(text, at, needle), "the next match");
        if (found == noMatch)
            break;
        at = found + needle.size();
    }
    return 0;
}
