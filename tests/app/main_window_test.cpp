// The main window as a user meets it: title, font, menus, typing, size, hot keys, About, closing.
#include "tests/support/editor_test.h"

#include "app/commands.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "search/find_dialog.h"

#include <cwctype>
#include <functional>
#include <set>

using platform::testing::MenuEntry;

namespace {

RECT rectOf(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

int widthOf(const RECT& r)
{
    return int(r.right - r.left);
}

int heightOf(const RECT& r)
{
    return int(r.bottom - r.top);
}

std::vector<std::wstring> textsOf(const std::vector<MenuEntry>& entries)
{
    std::vector<std::wstring> texts;
    for (const MenuEntry& entry : entries)
        texts.push_back(entry.text);
    return texts;
}

} // namespace

TEST_F(EditorTest, StartsAsAnUnnamedSavedDocumentWithTheDefaultFont)
{
    EXPECT_EQ(title(), L"New file - Quenwrite");
    EXPECT_EQ(platform::testing::windowTitle(mainWindow), L"New file - Quenwrite");
    EXPECT_TRUE(platform::testing::isVisible(mainWindow));
    EXPECT_EQ(platform::testing::visibleScreenWindows(), 1); // the menu bar sits inside it
    EXPECT_TRUE(platform::testing::hasIcon(mainWindow));
    EXPECT_TRUE(Document.saved());
    EXPECT_EQ(text(), L"");
    const auto font = platform::testing::fontInfo(platform::testing::fontOf(Editor.editControl));
    EXPECT_EQ(font.height, 21);
    EXPECT_EQ(font.weight, 0);
    EXPECT_FALSE(font.italic);
    EXPECT_EQ(font.face, L"Courier New");
    // Drawn with a real metric-compatible face, not whatever fontconfig falls back to.
    EXPECT_EQ(platform::testing::qtFamilyOf(Editor.editControl), L"Liberation Mono");
    EXPECT_EQ(GetFocus(), Editor.editControl);
    EXPECT_EQ(GetForegroundWindow(), mainWindow);
}

TEST_F(EditorTest, MenuBarKeepsFileFormatAndHelpWithEditAndViewBetween)
{
    const auto bar = platform::testing::menuBarOf(mainWindow);
    ASSERT_EQ(textsOf(bar),
              (std::vector<std::wstring>{L"&File", L"&Edit", L"F&ormat", L"&View", L"&Help"}));
    EXPECT_EQ(textsOf(bar[0].items),
              (std::vector<std::wstring>{L"&New \t Ctrl+N", L"&Open \t Ctrl+O", L"&Save \t Ctrl+S",
                                         L"Save &as \t Ctrl+Shift+S", L"", L"&Find \t Ctrl+F", L"",
                                         L"E&xit"}));
    EXPECT_EQ(textsOf(bar[2].items),
              (std::vector<std::wstring>{L"&Font", L"&Encoding", L"&Line ends"}));
    EXPECT_EQ(textsOf(bar[4].items), (std::vector<std::wstring>{L"&About Quenwrite"}));
}

// Each menu's access keys are its own: a letter twice would leave the second out of reach.
TEST_F(EditorTest, EveryMenuAndItemHasAnAccessKeyOfItsOwnInItsMenu)
{
    const auto accessKey = [](const std::wstring& text) {
        const std::size_t mark = text.find(L'&');
        return mark + 1 < text.size() ? wchar_t(towlower(text[mark + 1])) : L'\0';
    };
    const std::function<void(const std::vector<MenuEntry>&)> check =
        [&](const std::vector<MenuEntry>& entries) {
            std::set<wchar_t> taken;
            for (const MenuEntry& entry : entries) {
                const bool formatName = entry.id >= commandEncoding && entry.id < firstChildId;
                if (entry.text.empty() || formatName)
                    continue; // separators; the encodings and line ends are named as they are
                SCOPED_TRACE(std::string(entry.text.begin(), entry.text.end()));
                const wchar_t key = accessKey(entry.text);
                EXPECT_NE(key, L'\0');
                EXPECT_TRUE(taken.insert(key).second) << "the letter is taken in this menu";
                check(entry.items);
            }
        };
    check(platform::testing::menuBarOf(mainWindow));
}

TEST_F(EditorTest, TypingMarksTheDocumentUnsavedButTextSetByTheProgramDoesNot)
{
    SetWindowTextW(Editor.editControl, L"set by the program");
    platform::testing::processEvents();
    EXPECT_TRUE(Document.saved());
    EXPECT_EQ(title(), L"New file - Quenwrite");

    type(L"x");
    EXPECT_FALSE(Document.saved());
    EXPECT_EQ(title(), L"*New file - Quenwrite");
    EXPECT_EQ(text(), L"xset by the program");
}

TEST_F(EditorTest, FocusChangesAndScrollingLeaveTheDocumentSaved)
{
    std::wstring lines;
    for (int i = 0; i < 200; ++i)
        lines += L"line\r\n";
    SetWindowTextW(Editor.editControl, lines.c_str());
    SetFocus(mainWindow);
    SetFocus(Editor.editControl);
    platform::testing::scrollBy(Editor.editControl, 20);
    platform::testing::processEvents();
    EXPECT_GT(platform::testing::firstVisibleLine(Editor.editControl), 0);
    EXPECT_TRUE(Document.saved());
    EXPECT_EQ(title(), L"New file - Quenwrite");
}

TEST_F(EditorTest, EnterInsertsALineBreakOfTwoCharacters)
{
    type(L"ab\ncd");
    EXPECT_EQ(text(), L"ab\r\ncd");
    EXPECT_EQ(GetWindowTextLengthW(Editor.editControl), 6);
}

TEST_F(EditorTest, ADocumentLongerThanTheTypingLimitStaysEditable)
{
    const std::wstring big(40000, L'a');
    SetWindowTextW(Editor.editControl, big.c_str());
    SendMessageW(Editor.editControl, EM_SETSEL, 40000, 40000);
    type(L"b");
    EXPECT_EQ(GetWindowTextLengthW(Editor.editControl), 40001);
    EXPECT_FALSE(Document.saved());
}

TEST_F(EditorTest, EditControlFollowsTheWindowSize)
{
    RECT edit = rectOf(Editor.editControl);
    RECT main = rectOf(mainWindow);
    EXPECT_EQ(widthOf(main), 500);
    EXPECT_EQ(heightOf(main), 500);
    EXPECT_EQ(widthOf(edit), 477);
    EXPECT_EQ(heightOf(edit), 434);
    RECT client{};
    GetClientRect(mainWindow, &client);
    EXPECT_EQ(client.right, 484);
    EXPECT_EQ(client.bottom, 441);

    SetWindowPos(mainWindow, nullptr, 0, 0, 700, 600, SWP_NOMOVE | SWP_NOZORDER);
    edit = rectOf(Editor.editControl);
    EXPECT_EQ(widthOf(edit), 677);
    EXPECT_EQ(heightOf(edit), 534);
    // The edit control keeps its place 4, 4 inside the client area.
    main = rectOf(mainWindow);
    EXPECT_EQ(edit.left - main.left, 8 + 4);
    EXPECT_EQ(edit.top - main.top, 8 + 23 + 20 + 4);
}

TEST_F(EditorTest, MinimisingShrinksTheEditControlToNothingAndRestoringBringsItBack)
{
    ShowWindow(mainWindow, SW_MINIMIZE);
    platform::testing::processEvents();
    EXPECT_EQ(heightOf(rectOf(Editor.editControl)), 0);
    ShowWindow(mainWindow, SW_RESTORE);
    platform::testing::processEvents();
    EXPECT_EQ(widthOf(rectOf(Editor.editControl)), 477);
    EXPECT_EQ(heightOf(rectOf(Editor.editControl)), 434);
}

TEST_F(EditorTest, CtrlASelectsTheWholeText)
{
    type(L"one\ntwo");
    hotKey(hotKeySelectAll);
    const auto selected = platform::testing::selection(Editor.editControl);
    EXPECT_EQ(selected.start, 0);
    EXPECT_EQ(selected.end, 8);
}

TEST_F(EditorTest, HotKeysActOnlyWhileTheMainWindowIsTheForegroundWindow)
{
    platform::testing::deactivateAll();
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_FALSE(hotKeysRegistered);
    hotKey(hotKeyFind);
    EXPECT_TRUE(platform::testing::windowsOfClass(FindDialog.className).empty());

    platform::testing::activate(mainWindow);
    EXPECT_TRUE(hotKeysRegistered);
    hotKey(hotKeyFind);
    EXPECT_EQ(platform::testing::windowsOfClass(FindDialog.className).size(), 1u);
}

TEST_F(EditorTest, AHotKeyThatArrivesWhileAnotherWindowIsInFrontDoesNothing)
{
    type(L"abc");
    PostMessageW(mainWindow, WM_HOTKEY, hotKeySelectAll, 0);
    platform::testing::deactivateAll();
    platform::testing::processEvents();
    const auto selected = platform::testing::selection(Editor.editControl);
    EXPECT_EQ(selected.start, selected.end);
}

TEST_F(EditorTest, AboutBeepsAndShowsItsBox)
{
    platform::testing::answerMessageBox(IDOK);
    command(commandAbout);
    ASSERT_EQ(platform::testing::beeps(), (std::vector<UINT>{MB_ICONINFORMATION}));
    ASSERT_EQ(platform::testing::shownBoxes().size(), 1u);
    const auto& box = platform::testing::shownBoxes().back();
    EXPECT_EQ(box.owner, mainWindow);
    EXPECT_EQ(box.caption, L"About Quenwrite");
    EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(box.text.rfind(L"Quenwrite ", 0), 0u);
    EXPECT_NE(box.text.find(L"freeware text editor"), std::wstring::npos);
    EXPECT_EQ(box.text.substr(box.text.size() - 9), L"\n\nPeriod.");
}

TEST_F(EditorTest, OnlyAMenuCommandActsAsACommand)
{
    // A notification with the About identifier in its low word is not the About command.
    SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(commandAbout, 1), 0);
    platform::testing::processEvents();
    EXPECT_TRUE(platform::testing::shownBoxes().empty());
}

TEST_F(EditorTest, EscInTheTextChangesNothingAndClosesNothing)
{
    for (const bool saved : {true, false}) {
        SCOPED_TRACE(saved ? "saved" : "changed");
        if (!saved)
            type(L"words");
        platform::testing::pressKey(Editor.editControl, VK_ESCAPE);
        platform::testing::processEvents();
        ASSERT_TRUE(IsWindow(mainWindow));
        EXPECT_TRUE(platform::testing::shownBoxes().empty()) << "no save question either";
        EXPECT_FALSE(platform::testing::quitPosted());
        EXPECT_EQ(text(), saved ? L"" : L"words");
        EXPECT_EQ(Document.saved(), saved);
    }
}

TEST_F(EditorTest, ClosingASavedDocumentAsksNothingAndEndsWithExitCodeZero)
{
    platform::testing::clickCloseBox(mainWindow);
    platform::testing::processEvents();
    EXPECT_TRUE(platform::testing::shownBoxes().empty());
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(platform::testing::quitPosted());
    EXPECT_EQ(platform::testing::quitCode(), 0);
}

TEST_F(EditorTest, ExitAsksTheSaveQuestionForAnUnsavedDocumentAndNoEndsTheProgram)
{
    type(L"changed");
    platform::testing::answerMessageBox(IDNO);
    command(commandExit);
    ASSERT_EQ(platform::testing::shownBoxes().size(), 1u);
    const auto& box = platform::testing::shownBoxes().back();
    EXPECT_EQ(box.owner, mainWindow);
    EXPECT_EQ(box.text, L"Would you like to save changes in the current document?");
    EXPECT_EQ(box.caption, L"Quenwrite");
    EXPECT_EQ(box.type, UINT(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(platform::testing::quitPosted());
    EXPECT_EQ(platform::testing::quitCode(), 0);
}

TEST_F(EditorTest, TheCloseBoxAsksTheSameQuestion)
{
    type(L"changed");
    platform::testing::answerMessageBox(IDNO);
    platform::testing::clickCloseBox(mainWindow);
    platform::testing::processEvents();
    ASSERT_EQ(platform::testing::shownBoxes().size(), 1u);
    EXPECT_EQ(platform::testing::shownBoxes().back().text,
              L"Would you like to save changes in the current document?");
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_EQ(platform::testing::quitCode(), 0);
}
