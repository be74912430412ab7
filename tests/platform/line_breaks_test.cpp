// Line ends across the clipboard: what another program pasted must become the control's CR LF
// lines, and what the control copies must come back as the same text when pasted again.
#include "platform/text/line_breaks.h"

#include <gtest/gtest.h>

namespace lineBreaks = platform::lineBreaks;

TEST(LineBreaksTest, PastedLineEndsOfEveryKindBecomeCrLfAndACopyRoundTrips)
{
    const struct {
        const char* name;
        std::wstring pasted;
        std::wstring windows;
    } cases[] = {
        {"empty", L"", L""},
        {"LF lines", L"one\ntwo\n", L"one\r\ntwo\r\n"},
        {"CR LF stays one break", L"a\r\nb", L"a\r\nb"},
        {"lone CR", L"a\rb", L"a\r\nb"},
        {"LF CR is two breaks", L"a\n\rb", L"a\r\n\r\nb"},
        {"CR CR LF", L"\r\r\n", L"\r\n\r\n"},
        {"no line end", L"caf\u00e9\u00a0\U0001F600", L"caf\u00e9\u00a0\U0001F600"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const std::wstring windows = lineBreaks::fromClipboard(row.pasted);
        EXPECT_EQ(windows, row.windows);
        EXPECT_EQ(lineBreaks::fromClipboard(lineBreaks::toClipboard(windows)), windows);
    }
}

TEST(LineBreaksTest, ACopyKeepsLoneCarriageReturnsAndLineFeedsOfTheText)
{
    EXPECT_EQ(lineBreaks::toClipboard(L"a\r\nb\rc\nd\r\n"), L"a\nb\rc\nd\n");
    EXPECT_EQ(lineBreaks::toClipboard(L"\r"), L"\r");
}
