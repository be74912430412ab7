// The status bar as the user meets it: hidden at first with the window's layout unchanged, shown
// and hidden from the View menu, remembered in "settings.ini", and its line and column following
// the caret through keys, clicks, selections, edits and the search commands.
#include "app/commands.h"
#include "app/main_window.h"
#include "app/status_bar.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "encoding/text_format.h"
#include "format/format_dialog.h"
#include "tests/support/editor_test.h"

#include <filesystem>
#include <string>

using namespace platform::testing;

namespace {

const std::string fontLines = "[Quenwrite settings]\r\nfontSize=14\r\nfontWeight=0\r\n"
                              "fontItalic=0\r\nfontFamily=Courier New";

RECT rectOf(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

HWND statusBar()
{
    const auto bars = windowsOfClass(STATUSCLASSNAMEW);
    return bars.size() == 1 ? bars.front() : nullptr;
}

std::wstring partText(int part)
{
    wchar_t text[64] = {};
    SendMessageW(statusBar(), SB_GETTEXTW, WPARAM(part), reinterpret_cast<LPARAM>(text));
    return text;
}

// Whether the View menu shows its Status bar item checked.
bool statusBarItemChecked()
{
    for (const MenuEntry& menu : menuBarOf(mainWindow)) {
        for (const MenuEntry& item : menu.items) {
            if (item.id == commandStatusBar)
                return item.checked;
        }
    }
    ADD_FAILURE() << "no Status bar item";
    return false;
}

class StatusBarTest : public EditorTest {
protected:
    static HWND edit() { return Editor.editControl; }
    void showBar()
    {
        command(commandStatusBar);
        ASSERT_TRUE(Editor.statusBarShown);
    }
    static void key(int virtualKey, UINT modifiers = 0)
    {
        pressKey(edit(), virtualKey, modifiers);
        processEvents();
    }
    static std::wstring position() { return partText(statusPartPosition); }
};

TEST_F(StatusBarTest, HiddenAtFirstSoTheWindowKeepsItsLayout)
{
    EXPECT_EQ(statusBar(), nullptr) << "the bar is made when it is first shown";
    EXPECT_FALSE(statusBarItemChecked());
    const RECT edit = rectOf(Editor.editControl);
    EXPECT_EQ(edit.right - edit.left, 477);
    EXPECT_EQ(edit.bottom - edit.top, 434);
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
    // Shown and hidden again: the one bar made stays, out of the edit control's way.
    command(commandStatusBar);
    command(commandStatusBar);
    ASSERT_TRUE(statusBar());
    EXPECT_FALSE(isVisible(statusBar()));
    const RECT after = rectOf(Editor.editControl);
    EXPECT_EQ(after.bottom - after.top, 434);
}

TEST_F(StatusBarTest, ShownItSitsAlongTheBottomAndTheEditControlGivesItRoom)
{
    showBar();
    EXPECT_TRUE(isVisible(statusBar()));
    EXPECT_TRUE(statusBarItemChecked());
    struct Size {
        int cx;
        int cy;
    };
    for (const Size& size : {Size{500, 500}, Size{700, 420}}) {
        SCOPED_TRACE(size.cx);
        SetWindowPos(mainWindow, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        processEvents();
        RECT client;
        GetClientRect(mainWindow, &client);
        const RECT main = rectOf(mainWindow);
        const RECT bar = rectOf(statusBar());
        const RECT edit = rectOf(Editor.editControl);
        const long barHeight = bar.bottom - bar.top;
        EXPECT_GE(barHeight, 18);
        EXPECT_EQ(bar.right - bar.left, client.right);
        EXPECT_EQ(bar.bottom, main.bottom - 8); // the frame's bottom edge
        EXPECT_EQ(edit.right - edit.left, size.cx - 23);
        EXPECT_EQ(edit.bottom - edit.top, size.cy - 66 - barHeight);
        EXPECT_LE(edit.bottom, bar.top);
    }
    command(commandStatusBar);
    EXPECT_FALSE(isVisible(statusBar()));
    EXPECT_EQ(rectOf(Editor.editControl).bottom - rectOf(Editor.editControl).top, 420 - 66);
}

TEST_F(StatusBarTest, TheChoiceIsKeptInTheSettingsFileAsALineOfItsOwn)
{
    showBar();
    EXPECT_EQ(fileBytes(settingsFile()), "[Quenwrite settings]\r\nstatusBar=1");
    command(commandStatusBar);
    EXPECT_EQ(fileBytes(settingsFile()), "[Quenwrite settings]");
}

TEST_F(StatusBarTest, FiguresFollowTheCaretThroughKeysAndEdits)
{
    showBar();
    EXPECT_EQ(position(), L"Ln 1, Col 1");
    type(L"one\ntwo\nthree");
    EXPECT_EQ(position(), L"Ln 3, Col 6");
    const struct {
        const char* name;
        int virtualKey;
        UINT modifiers;
        std::wstring shown;
    } rows[] = {
        {"Up", VK_UP, 0, L"Ln 2, Col 4"},
        {"Home", VK_HOME, 0, L"Ln 2, Col 1"},
        {"Left over a line break", VK_LEFT, 0, L"Ln 1, Col 4"},
        {"Shift+Left selects backwards: the caret is the start", VK_LEFT, MOD_SHIFT,
         L"Ln 1, Col 3"},
        {"Shift+Home", VK_HOME, MOD_SHIFT, L"Ln 1, Col 1"},
        {"Ctrl+End", VK_END, MOD_CONTROL, L"Ln 3, Col 6"},
        {"Shift+Up selects upwards", VK_UP, MOD_SHIFT, L"Ln 2, Col 4"},
        {"Backspace deletes the selection", VK_BACK, 0, L"Ln 2, Col 4"},
        {"Ctrl+Home", VK_HOME, MOD_CONTROL, L"Ln 1, Col 1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        key(row.virtualKey, row.modifiers);
        EXPECT_EQ(position(), row.shown);
    }
    key(VK_RETURN);
    EXPECT_EQ(position(), L"Ln 2, Col 1");
    command(commandUndo);
    EXPECT_EQ(position(), L"Ln 1, Col 1");
}

TEST_F(StatusBarTest, FiguresFollowClicksSelectAllAndTheSearchCommands)
{
    showBar();
    SetWindowTextW(edit(), L"alpha\r\nbeta gamma\r\ndelta");
    processEvents();
    EXPECT_EQ(position(), L"Ln 1, Col 1");
    clickCharacter(edit(), 12);
    EXPECT_EQ(position(), L"Ln 2, Col 6");
    clickCharacter(edit(), 2, MOD_SHIFT); // extended backwards from 12
    EXPECT_EQ(position(), L"Ln 1, Col 3");
    command(commandSelectAll);
    EXPECT_EQ(position(), L"Ln 3, Col 6");
    SendMessageW(edit(), EM_SETSEL, 0, 0);
    EXPECT_EQ(position(), L"Ln 1, Col 1");
}

TEST_F(StatusBarTest, ApplyWritesTheFontLinesWithTheBarsLineAfterThem)
{
    showBar();
    command(commandFont);
    click(GetDlgItem(windowsOfClass(formatWindowClassName).front(), applyId));
    processEvents();
    EXPECT_EQ(fileBytes(settingsFile()), fontLines + "\r\nstatusBar=1");
    // Hidden again, the file is byte for byte the one the font alone gives.
    command(commandStatusBar);
    EXPECT_EQ(fileBytes(settingsFile()), fontLines);
}

TEST_F(StartupTest, ASettingsFileWithTheBarsLineShowsItAtStart)
{
    writeSettings(fontLines + "\r\nstatusBar=1");
    startEditor();
    ASSERT_TRUE(statusBar());
    EXPECT_TRUE(isVisible(statusBar()));
    EXPECT_TRUE(statusBarItemChecked());
    const RECT bar = rectOf(statusBar());
    const RECT edit = rectOf(Editor.editControl);
    EXPECT_EQ(edit.bottom - edit.top, 434 - (bar.bottom - bar.top));
    EXPECT_EQ(partText(statusPartPosition), L"Ln 1, Col 1");
}

TEST_F(StatusBarTest, ShowsTheDocumentsLineEndsAndEncodingAsTheyChange)
{
    showBar();
    // A new document's: UTF-8, with the system's line ends.
    EXPECT_EQ(partText(statusPartLineEnds), L"LF");
    EXPECT_EQ(partText(statusPartEncoding), L"UTF-8");
    RECT bar;
    GetClientRect(statusBar(), &bar);
    int rights[4] = {};
    ASSERT_EQ(SendMessageW(statusBar(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(rights)), 4);
    EXPECT_LT(rights[0], rights[1]);
    EXPECT_LT(rights[1], rights[2]);
    EXPECT_LT(rights[2], bar.right);
    EXPECT_EQ(rights[3], -1);

    writeFileBytes("old.txt", "caf\xE9\r\nsecond line\r\n");
    answerFileDialog(path("old.txt"));
    command(commandOpen);
    EXPECT_EQ(partText(statusPartLineEnds), L"CR LF");
    EXPECT_EQ(partText(statusPartEncoding), L"8-bit (code page 1252)");
    command(commandEncoding + int(Encoding::utf16Le));
    EXPECT_EQ(partText(statusPartEncoding), L"UTF-16 little-endian");
    command(commandLineEnd + int(LineEnd::lf));
    EXPECT_EQ(partText(statusPartLineEnds), L"LF");
    EXPECT_EQ(partText(statusPartPosition), L"Ln 1, Col 1");
}

} // namespace
