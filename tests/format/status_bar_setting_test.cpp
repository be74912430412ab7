// The status bar's line in "settings.ini": read from files as users and older versions left them,
// and written into them without touching anything else.
#include "format/status_bar_setting.h"

#include <gtest/gtest.h>

namespace {

const std::string fontLines = "[Quenwrite settings]\r\nfontSize=14\r\nfontWeight=0\r\n"
                              "fontItalic=0\r\nfontFamily=Courier New";

TEST(StatusBarSetting, OnlyALineBeginningWithTheKeyAndSayingOneShowsTheBar)
{
    const struct {
        const char* name;
        std::string file;
        bool shown;
    } rows[] = {
        {"no file", "", false},
        {"a file of the fonts alone", fontLines, false},
        {"the line written", fontLines + "\r\nstatusBar=1", true},
        {"with LF only", "statusBar=1\n", true},
        {"said 0", fontLines + "\r\nstatusBar=0", false},
        {"the last line wins", "statusBar=1\r\nstatusBar=0\r\n", false},
        {"a space is not 1", "statusBar= 1", false},
        {"inside another line", "fontFamily=statusBar=1", false},
        {"in other case", "StatusBar=1", false},
        {"after Ctrl+Z", "x\x1A\r\nstatusBar=1", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(statusBarSettingOf(row.file), row.shown);
    }
}

TEST(StatusBarSetting, WritingItKeepsEveryOtherLineByteForByte)
{
    const struct {
        const char* name;
        std::string file;
        bool shown;
        std::string written;
    } rows[] = {
        {"shown, no file", "", true, "[Quenwrite settings]\r\nstatusBar=1"},
        {"hidden, no file", "", false, ""},
        {"shown after the fonts", fontLines, true, fontLines + "\r\nstatusBar=1"},
        {"hidden again: the file the fonts alone give", fontLines + "\r\nstatusBar=1", false,
         fontLines},
        {"a file ending in a line end", "a=1\r\n", true, "a=1\r\nstatusBar=1"},
        {"the old line moves to the end", "statusBar=0\r\nfontSize=9", true,
         "fontSize=9\r\nstatusBar=1"},
        {"comments and LF lines stay", "; mine\nfontSize=9\n", false, "; mine\nfontSize=9\n"},
        {"a family holding the word stays", "fontFamily=statusBar=1", false,
         "fontFamily=statusBar=1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string written = withStatusBarSetting(row.file, row.shown);
        EXPECT_EQ(written, row.written);
        EXPECT_EQ(statusBarSettingOf(written), row.shown);
    }
}

} // namespace
