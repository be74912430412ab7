// The multi-line edit control's text mapping: the Windows text read back whole or straight into a
// bounded buffer, as WM_GETTEXT does, must be the text that was set, cut only at the buffer's end.
#include "platform/qt/line_breaks_p.h"

#include <gtest/gtest.h>

namespace lineBreaks = platform::lineBreaks;

TEST(LineBreaksTest, CopyingIntoABufferGivesTheTextThatWasSetCutAtTheBuffer)
{
    const struct {
        const char* name;
        std::wstring text;
    } cases[] = {
        {"empty", L""},
        {"CR LF lines", L"one\r\ntwo\r\n"},
        {"lone CR and LF kept", L"a\rb\nc\r\n\n\r"},
        {"character above the 16-bit range", L"x\U0001F600y\r\n"},
        {"Latin-1 and a no-break space", L"caf\u00e9\u00a0\r\n"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const std::u16string view = lineBreaks::viewText(row.text);
        EXPECT_EQ(lineBreaks::windowsText(view), row.text);
        for (std::size_t capacity = 0; capacity <= row.text.size() + 1; ++capacity) {
            SCOPED_TRACE(capacity);
            std::wstring buffer(capacity + 1, L'#');
            const std::size_t copied = lineBreaks::copyWindowsText(view, buffer.data(), capacity);
            ASSERT_EQ(copied, std::min(capacity, row.text.size()));
            EXPECT_EQ(buffer.substr(0, copied), row.text.substr(0, copied));
            EXPECT_EQ(buffer[copied], L'#') << "wrote past what it reported";
        }
    }
}
