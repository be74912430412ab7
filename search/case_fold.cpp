// The fold for searches that ignore case: each character lowered, then raised, by the platform.
// Lowering first makes the forms that raise to one capital meet it too: the final sigma and the
// sigma, the long s and the s, the Kelvin sign and the k.
#include "search/case_fold.h"

#include "platform/win32.h"

namespace {

constexpr std::size_t tableSize = 0x10000;
constexpr wchar_t firstSurrogate = 0xD800;
constexpr wchar_t lastSurrogate = 0xDFFF;

wchar_t foldOne(wchar_t c)
{
    CharLowerBuffW(&c, 1);
    CharUpperBuffW(&c, 1);
    return c;
}

} // namespace

const CaseFold& platformCaseFold()
{
    static const CaseFold fold = [] {
        std::vector<wchar_t> table(tableSize);
        for (std::size_t c = 0; c < tableSize; ++c)
            table[c] = wchar_t(c);
        CharLowerBuffW(table.data(), DWORD(tableSize));
        CharUpperBuffW(table.data(), DWORD(tableSize));
        // Halves of surrogate pairs have no case; side by side in the table they would read as
        // pairs to a platform that maps whole characters.
        for (std::size_t c = firstSurrogate; c <= lastSurrogate; ++c)
            table[c] = wchar_t(c);
        return CaseFold(std::move(table), foldOne);
    }();
    return fold;
}
