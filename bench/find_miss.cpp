// Times a search that finds nothing in a 100-million-character document: ordinary prose, where
// the first letter of the needle is common, and a run of one letter against a needle that
// almost matches everywhere, which is where a search that backs up turns quadratic.
#include "bench/prose.h"
#include "search/text_search.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr std::size_t documentLength = 100'000'000;

void timeMiss(const char* name, const std::wstring& text, const std::wstring& needle)
{
    const auto started = std::chrono::steady_clock::now();
    const std::size_t match = findForward(text, 0, needle);
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;
    std::printf("%-28s %9.1f ms  %s\n", name, took.count(), match == noMatch ? "miss" : "MATCH?");
}

} // namespace

int main()
{
    const std::wstring text = prose(documentLength);
    timeMiss("prose, needle 'the lazy cat'", text, L"the lazy cat");
    timeMiss("prose, needle 'zebra'", text, L"zebra");
    const std::wstring run(documentLength, L'a');
    timeMiss("a-run, needle 'aaaa...ab'", run, std::wstring(999, L'a') + L'b');
    return 0;
}
