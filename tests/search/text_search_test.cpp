// The searches underneath F3, Shift+F3 and Replace all: backwards, without case, and replacing
// every occurrence, each against the plainest way of doing the same.
#include "search/case_fold.h"
#include "search/text_replace.h"
#include "search/text_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

namespace {

// A fold for few letters: a..c and their capitals A..C.
CaseFold asciiFold()
{
    std::vector<wchar_t> table(128);
    for (std::size_t c = 0; c < table.size(); ++c)
        table[c] = wchar_t(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return CaseFold(std::move(table));
}

std::wstring randomText(std::mt19937& random, std::size_t maxLength, bool capitals)
{
    const std::wstring letters = capitals ? L"abcABC" : L"abc";
    std::wstring text(random() % (maxLength + 1), L'a');
    for (wchar_t& c : text)
        c = letters[random() % (2 + random() % (letters.size() - 1))];
    return text;
}

std::wstring folded(std::wstring text, const CaseFold& fold)
{
    std::transform(text.begin(), text.end(), text.begin(), fold);
    return text;
}

TEST(TextSearch, BothDirectionsWithAndWithoutCaseAgreeWithAPlainSearch)
{
    std::mt19937 random(20261209);
    const CaseFold fold = asciiFold();
    for (int round = 0; round < 4000; ++round) {
        const bool ignoreCase = round % 2 == 1;
        const std::wstring text = randomText(random, 40, ignoreCase);
        const std::wstring needle = randomText(random, 5, ignoreCase);
        const std::size_t at = random() % (text.size() + 2);
        SCOPED_TRACE(::testing::Message() << "'" << needle << "' in '" << text << "' at " << at
                                          << (ignoreCase ? " without case" : ""));
        const std::wstring plainText = ignoreCase ? folded(text, fold) : text;
        const std::wstring plainNeedle = ignoreCase ? folded(needle, fold) : needle;
        const TextSearch search(needle, ignoreCase ? &fold : nullptr);
        const std::size_t forward = at > text.size() ? noMatch : plainText.find(plainNeedle, at);
        ASSERT_EQ(search.forward(text, at), forward == std::wstring::npos ? noMatch : forward);
        const std::size_t end = std::min(at, text.size());
        const std::size_t backward = plainNeedle.size() > end
                                         ? std::wstring::npos
                                         : plainText.rfind(plainNeedle, end - plainNeedle.size());
        ASSERT_EQ(search.backward(text, at), backward == std::wstring::npos ? noMatch : backward);
    }
}

TEST(PlatformCaseFold, LettersMeetTheirOtherCaseButNotTheirAccents)
{
    const CaseFold& fold = platformCaseFold();
    const struct {
        wchar_t a;
        wchar_t b;
        bool same;
    } rows[] = {
        {L'a', L'A', true},  {L'é', L'É', true},  {L'ÿ', L'Ÿ', true}, {L'ς', L'Σ', true},
        {L'σ', L'ς', true},  {L'я', L'Я', true},  {L'ǆ', L'ǅ', true}, {L'\u212A', L'k', true},
        {L'e', L'é', false}, {L'1', L'!', false}, {L'ß', L'ß', true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << int(row.a) << " and " << int(row.b));
        EXPECT_EQ(fold(row.a) == fold(row.b), row.same);
    }
    EXPECT_EQ(findForward(L"Le Café CAFÉ", 8, L"café", &fold), 8u);
}

// Replace all as the Replace window does it: in the text's own buffer, the rest put back after.
std::wstring replacedInPlace(const std::wstring& text, const std::wstring& needle,
                             const std::wstring& with, const CaseFold* fold, std::size_t& count)
{
    const TextSearch search(needle, fold);
    const Occurrences found = occurrencesOf(text, search, needle.size());
    count = found.count;
    if (found.count == 0)
        return text;
    const std::size_t end = replacedEnd(found, needle.size(), with.size());
    std::wstring buffer = text;
    buffer.resize(std::max(text.size(), end), L'#');
    replaceInPlace(buffer.data(), found, search, needle.size(), with);
    return buffer.substr(0, end) + text.substr(found.end);
}

TEST(ReplaceAll, ReplacesEveryOccurrenceInPlaceAsAPlainLoopDoes)
{
    std::mt19937 random(7);
    const CaseFold fold = asciiFold();
    for (int round = 0; round < 2000; ++round) {
        const bool ignoreCase = round % 2 == 1;
        const std::wstring text = randomText(random, 30, ignoreCase);
        const std::wstring needle = randomText(random, 3, ignoreCase);
        const std::wstring with = randomText(random, 5, false);
        SCOPED_TRACE(::testing::Message()
                     << "'" << needle << "' by '" << with << "' in '" << text << "'");
        const std::wstring plainText = ignoreCase ? folded(text, fold) : text;
        const std::wstring plainNeedle = ignoreCase ? folded(needle, fold) : needle;
        std::wstring expected;
        std::size_t expectedCount = 0;
        for (std::size_t at = 0; at < text.size();) {
            if (!needle.empty() && plainText.compare(at, plainNeedle.size(), plainNeedle) == 0) {
                expected += with;
                at += needle.size();
                ++expectedCount;
            } else {
                expected += text[at++];
            }
        }
        std::size_t count = 0;
        ASSERT_EQ(replacedInPlace(text, needle, with, ignoreCase ? &fold : nullptr, count),
                  expected);
        ASSERT_EQ(count, expectedCount);
    }
}

TEST(ReplaceAll, AResultTooLongForTheControlIsRefusedBeforeAnySizeWraps)
{
    // At 32 bits: 2^28 occurrences of one character replaced by 17 would wrap to a shorter text.
    const struct {
        std::uint32_t textLength;
        std::uint32_t count;
        std::uint32_t needle;
        std::uint32_t with;
        std::optional<std::uint32_t> length;
    } rows[] = {
        {0x7FFF0000, 0x10000000, 1, 17, std::nullopt},
        {0x7FFF0000, 0x10000000, 1, 0, 0x6FFF0000u},
        {0x7FFF0000, 0x8000, 1, 2, 0x7FFF8000u},
        {0x7FFFFFFE, 1, 1, 1, 0x7FFFFFFEu},
        {0x7FFFFFFE, 1, 1, 2, std::nullopt}, // one past the control's longest text
        {0xFFFFFFF0, 0x80000000, 2, 2, std::nullopt},
        {100, 0x80000000, 2, 0, std::nullopt}, // more removed than there is
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.count << " of " << row.needle << " by " << row.with
                                          << " in " << row.textLength);
        EXPECT_EQ(replacedLength(row.textLength, row.count, row.needle, row.with), row.length);
    }
}

} // namespace
