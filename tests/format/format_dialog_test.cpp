// The font rule, the settings file at start-up and on Apply, and the Format text window driven by
// clicks and keys: the lists, Bold and Italic, the preview, Apply, the close box, Esc, the
// disabled owner and the focus kept while the user is away.
#include "app/main_window.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "format/font_choice.h"
#include "format/format_dialog.h"
#include "tests/support/editor_test.h"

#include <climits>
#include <filesystem>

using namespace platform::testing;

namespace {

const std::string defaultFile = "[Quenwrite settings]\r\nfontSize=14\r\nfontWeight=0\r\n"
                                "fontItalic=0\r\nfontFamily=Courier New";

void expectFont(HFONT font, const FontInfo& expected)
{
    const FontInfo info = fontInfo(font);
    EXPECT_EQ(info.height, expected.height);
    EXPECT_EQ(info.weight, expected.weight);
    EXPECT_EQ(info.italic, expected.italic);
    EXPECT_EQ(info.face, expected.face);
}

TEST(FontRule, HeightIsOneAndAHalfTimesTheSizeTruncated)
{
    const struct {
        int size;
        int height;
    } heights[] = {{10, 15}, {11, 16},   {12, 18},           {14, 21},          {16, 24}, {18, 27},
                   {20, 30}, {24, 36},   {28, 42},           {36, 54},          {9, 13},  {0, 0},
                   {-5, -7}, {-10, -15}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}};
    for (const auto& row : heights) {
        SCOPED_TRACE(row.size);
        EXPECT_EQ(fontInfo(createFontFromChoice(row.size, 0, false, L"Arial")).height, row.height);
    }
    expectFont(createFontFromChoice(12, 800, true, L"Times New Roman"),
               {18, 800, true, L"Times New Roman"});
    expectFont(createFontFromChoice(14, 0, false, L""), {21, 0, false, L""});
}

HWND formatWindow()
{
    const std::vector<HWND> windows = windowsOfClass(formatWindowClassName);
    return windows.size() == 1 ? windows.front() : nullptr;
}

LRESULT selectedIndex(HWND list)
{
    return SendMessageW(list, LB_GETCURSEL, 0, 0);
}

// The user's hands on the Format text window, over either way of starting the editor.
template <class Start> class FormatTest : public Start {
protected:
    HWND open()
    {
        this->command(commandFont);
        HWND window = formatWindow();
        EXPECT_TRUE(window);
        return window;
    }
    void clickBox(int id)
    {
        click(GetDlgItem(formatWindow(), id));
        processEvents();
    }
    void selectFamily(int index)
    {
        clickListItem(FormatDialog.familyList, index);
        processEvents();
    }
    void selectSize(int index)
    {
        clickListItem(FormatDialog.sizeList, index);
        processEvents();
    }
    void apply()
    {
        click(GetDlgItem(formatWindow(), applyId));
        processEvents();
    }
    HFONT preview() { return fontOf(FormatDialog.previewStatic); }
    HFONT editFont() { return fontOf(Editor.editControl); }
};

using FormatWindowTest = FormatTest<EditorTest>;
using FormatStartupTest = FormatTest<StartupTest>;

TEST_F(FormatWindowTest, WithoutSettingsTheStartUpFontShowsAndNothingIsSaid)
{
    EXPECT_EQ(editFont(), Editor.editFont);
    expectFont(editFont(), {21, 0, false, L"Courier New"});
    EXPECT_TRUE(shownBoxes().empty());
    EXPECT_TRUE(fileBytes(settingsFile()).empty());
}

TEST_F(FormatStartupTest, AnEmptyFileStillMakesAFontFromTheUnchangedChoice)
{
    writeSettings("[Quenwrite settings]\r\n");
    startEditor();
    EXPECT_NE(editFont(), Editor.editFont);
    expectFont(editFont(), {21, 0, false, L"Courier New"});
}

TEST_F(FormatStartupTest, ANumberOutOfRangeLeavesTheDefaultAndTheRestApplies)
{
    writeSettings("fontSize=99999999999999999999\r\nfontWeight=abc\r\n"
                  "fontItalic=1\r\nfontFamily= Arial");
    startEditor();
    EXPECT_EQ(Editor.fontSize, 14);
    expectFont(editFont(), {21, 0, true, L" Arial"});
}

TEST_F(FormatWindowTest, OpeningShowsTheChoiceAndDisablesTheMainWindow)
{
    HWND window = open();
    EXPECT_EQ(windowTitle(window), L"Format text");
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 380);
    EXPECT_EQ(rect.bottom - rect.top, 400);
    EXPECT_FALSE(IsWindowEnabled(mainWindow));
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(selectedIndex(FormatDialog.familyList), 1); // Courier New
    EXPECT_EQ(selectedIndex(FormatDialog.sizeList), 3);   // 14
    EXPECT_FALSE(IsDlgButtonChecked(window, boldId));
    EXPECT_FALSE(IsDlgButtonChecked(window, italicId));
    expectFont(preview(), {21, 0, false, L"Courier New"});
}

TEST_F(FormatWindowTest, ApplyGivesTheFontToTheEditorWritesTheFileAndCloses)
{
    open();
    selectFamily(0);
    expectFont(preview(), {21, 0, false, L"Arial"});
    selectSize(2);
    expectFont(preview(), {18, 0, false, L"Arial"});
    clickBox(boldId);
    expectFont(preview(), {18, 800, false, L"Arial"});
    clickBox(italicId);
    expectFont(preview(), {18, 800, true, L"Arial"});
    apply();
    expectFont(editFont(), {18, 800, true, L"Arial"});
    EXPECT_NE(editFont(), preview());
    EXPECT_EQ(fileBytes(settingsFile()), "[Quenwrite settings]\r\nfontSize=12\r\n"
                                         "fontWeight=800\r\nfontItalic=1\r\nfontFamily=Arial");
    EXPECT_EQ(formatWindow(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_EQ(GetActiveWindow(), mainWindow);
    EXPECT_EQ(Editor.fontSize, 14) << "Apply leaves the start-up choice alone";
}

TEST_F(FormatWindowTest, UncheckingBoldGivesWeightZeroAndTheCloseBoxKeepsTheChoicePending)
{
    HWND window = open();
    clickBox(boldId);
    clickBox(boldId);
    EXPECT_EQ(fontInfo(preview()).weight, 0);
    clickBox(boldId);
    clickCloseBox(window);
    processEvents();
    EXPECT_EQ(formatWindow(), nullptr);
    EXPECT_EQ(editFont(), Editor.editFont);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_EQ(GetActiveWindow(), mainWindow);
    EXPECT_TRUE(fileBytes(settingsFile()).empty());

    window = open();
    EXPECT_TRUE(IsDlgButtonChecked(window, boldId));
    expectFont(preview(), {21, 800, false, L"Courier New"});
}

TEST_F(FormatWindowTest, EverySizeOfTheListGivesItsPreviewHeight)
{
    open();
    const int heights[] = {15, 16, 18, 21, 24, 27, 30, 36, 42, 54};
    for (int index = 9; index >= 0; --index) {
        SCOPED_TRACE(index);
        selectSize(index);
        EXPECT_EQ(selectedIndex(FormatDialog.sizeList), index);
        EXPECT_EQ(fontInfo(preview()).height, heights[index]);
    }
    apply();
    EXPECT_EQ(fontInfo(editFont()).height, 15);
}

TEST_F(FormatWindowTest, EachFamilyIsDrawnWithAMetricCompatibleFace)
{
    open();
    const wchar_t* faces[] = {L"Liberation Sans", L"Liberation Mono", L"Liberation Serif"};
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        selectFamily(index);
        EXPECT_EQ(fontInfo(preview()).face, FormatDialog.families[index]);
        EXPECT_EQ(qtFamilyOf(FormatDialog.previewStatic), faces[index]);
    }
}

TEST_F(FormatStartupTest, TheWindowStartsFromTheLoadedChoiceAndApplyKeepsIt)
{
    writeSettings("[Quenwrite settings]\r\nfontSize=20\r\nfontWeight=800\r\n"
                  "fontItalic=1\r\nfontFamily=Times New Roman");
    startEditor();
    expectFont(editFont(), {30, 800, true, L"Times New Roman"});
    HWND window = open();
    EXPECT_EQ(selectedIndex(FormatDialog.familyList), 2);
    EXPECT_EQ(selectedIndex(FormatDialog.sizeList), 6);
    EXPECT_TRUE(IsDlgButtonChecked(window, boldId));
    EXPECT_TRUE(IsDlgButtonChecked(window, italicId));
    expectFont(preview(), {30, 800, true, L"Times New Roman"});
    selectFamily(0);
    apply();
    EXPECT_EQ(fileBytes(settingsFile()), "[Quenwrite settings]\r\nfontSize=20\r\n"
                                         "fontWeight=800\r\nfontItalic=1\r\nfontFamily=Arial");
}

TEST_F(FormatStartupTest, ASizeNotListedSelectsNoSizeAndIsKept)
{
    writeSettings("fontSize=13");
    startEditor();
    open();
    EXPECT_EQ(selectedIndex(FormatDialog.sizeList), LB_ERR);
    apply();
    EXPECT_EQ(fileBytes(settingsFile()), "[Quenwrite settings]\r\nfontSize=13\r\nfontWeight=0\r\n"
                                         "fontItalic=0\r\nfontFamily=Courier New");
}

TEST_F(FormatStartupTest, AFamilyInOtherCaseSelectsItsEntryButStaysAsWritten)
{
    writeSettings("fontFamily=arial");
    startEditor();
    HWND window = open();
    EXPECT_EQ(selectedIndex(FormatDialog.familyList), 0);
    clickBox(boldId); // a command that is no family selection keeps the family's text
    EXPECT_EQ(fontInfo(preview()).face, L"arial");
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(3, LBN_SETFOCUS),
                 reinterpret_cast<LPARAM>(FormatDialog.familyList));
    EXPECT_EQ(fontInfo(preview()).face, L"arial");
    apply();
    EXPECT_EQ(fileBytes(settingsFile()), "[Quenwrite settings]\r\nfontSize=14\r\nfontWeight=800\r\n"
                                         "fontItalic=0\r\nfontFamily=arial");
}

TEST_F(FormatStartupTest, ApplyWritesTheFileReadAtStartUpWhateverFolderIsCurrent)
{
    writeSettings("fontSize=16");
    std::filesystem::create_directory(folder() + "/documents");
    writeFileBytes("documents/notes.txt", "text\r\n");
    startEditor();
    answerFileDialog(path("documents/notes.txt"));
    command(commandOpen);
    ASSERT_EQ(std::filesystem::current_path(), folder() + "/documents");
    open();
    apply();
    EXPECT_FALSE(std::filesystem::exists(folder() + "/documents/settings.ini"));
    EXPECT_EQ(fileBytes(settingsFile()), "[Quenwrite settings]\r\nfontSize=16\r\nfontWeight=0\r\n"
                                         "fontItalic=0\r\nfontFamily=Courier New");
}

TEST_F(FormatStartupTest, TheSettingsLiveInTheUsersFolderWhicheverFolderTheEditorStartsIn)
{
    writeSettings("fontSize=20\r\nfontWeight=800");
    std::filesystem::create_directory(folder() + "/elsewhere");
    std::filesystem::current_path(folder() + "/elsewhere");
    startEditor();
    expectFont(editFont(), {30, 800, false, L"Courier New"});
    open();
    selectSize(0);
    apply();
    EXPECT_FALSE(std::filesystem::exists(folder() + "/elsewhere/settings.ini"));
    EXPECT_EQ(fileBytes(settingsFile()), "[Quenwrite settings]\r\nfontSize=10\r\nfontWeight=800\r\n"
                                         "fontItalic=0\r\nfontFamily=Courier New");
}

TEST_F(FormatStartupTest, ASettingsFileInTheStartFolderIsTakenOverWhileTheUsersFolderHasNone)
{
    const std::string old = "fontSize=20\r\n; my note";
    writeFileBytes("settings.ini", old);
    startEditor();
    expectFont(editFont(), {30, 0, false, L"Courier New"});
    EXPECT_EQ(fileBytes(settingsFile()), old) << "copied over as it was";
    open();
    clickBox(italicId);
    apply();
    EXPECT_EQ(fileBytes("settings.ini"), old) << "the old file is left as it was";
    EXPECT_EQ(fileBytes(settingsFile()), "[Quenwrite settings]\r\nfontSize=20\r\nfontWeight=0\r\n"
                                         "fontItalic=1\r\nfontFamily=Courier New");
}

TEST_F(FormatStartupTest, TheUsersFileWinsOverOneInTheStartFolder)
{
    writeSettings("fontSize=20");
    writeFileBytes("settings.ini", "fontSize=8");
    startEditor();
    expectFont(editFont(), {30, 0, false, L"Courier New"});
}

TEST_F(FormatStartupTest, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    const std::string old = "fontSize=16\r\n; my note";
    writeSettings(old);
    startEditor();
    const FileCall steps[] = {FileCall::open, FileCall::write, FileCall::flush, FileCall::close,
                              FileCall::rename};
    for (FileCall step : steps) {
        SCOPED_TRACE(int(step));
        HWND window = open();
        clickBox(italicId);
        failFileCall(step, 1, ERROR_DISK_FULL);
        answerMessageBox(IDOK);
        const size_t boxes = shownBoxes().size();
        apply();
        ASSERT_EQ(shownBoxes().size(), boxes + 1);
        const ShownBox& box = shownBoxes().back();
        EXPECT_EQ(box.owner, window);
        EXPECT_EQ(box.text, L"Cannot open settings file.");
        EXPECT_EQ(box.caption, L"Error");
        EXPECT_EQ(box.type, MB_ICONERROR);
        EXPECT_EQ(fileBytes(settingsFile()), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(
                                    std::filesystem::path(settingsFile()).parent_path()),
                                std::filesystem::directory_iterator()),
                  1)
            << "no temporary file is left behind";
        EXPECT_EQ(formatWindow(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(mainWindow));
        EXPECT_EQ(fontInfo(editFont()).italic, FormatDialog.pendingItalic)
            << "the edit control keeps the new font";
    }
}

TEST_F(FormatStartupTest, AReadOnlySettingsFileIsLeftAlone)
{
    writeSettings(defaultFile);
    std::filesystem::permissions(settingsFile(), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::group_read |
                                                     std::filesystem::perms::others_read);
    startEditor();
    HWND window = open();
    selectSize(9);
    answerMessageBox(IDOK);
    apply();
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_EQ(shownBoxes()[0].owner, window);
    EXPECT_EQ(fileBytes(settingsFile()), defaultFile);
}

int focusedId()
{
    return int(GetWindowLongW(GetFocus(), GWL_ID));
}

void key(int virtualKey, UINT modifiers = 0)
{
    pressKey(GetFocus(), virtualKey, modifiers);
    processEvents();
}

TEST_F(FormatWindowTest, TabArrowsAndUnderlinedLettersGoThroughTheControlsInReadingOrder)
{
    HWND window = open();
    const std::vector<int> order = {familyListId, sizeListId, boldId, italicId, applyId};
    EXPECT_EQ(focusedId(), order.front());
    for (std::size_t i = 1; i <= order.size(); ++i) {
        key(VK_TAB);
        EXPECT_EQ(focusedId(), order[i % order.size()]);
    }
    for (std::size_t i = order.size(); i-- > 0;) {
        key(VK_TAB, MOD_SHIFT);
        EXPECT_EQ(focusedId(), order[i]);
    }
    const struct {
        int key;
        UINT modifiers;
        int focused;
    } rows[] = {{VK_DOWN, 0, italicId}, {VK_DOWN, 0, boldId},         {'Z', MOD_ALT, sizeListId},
                {'Y', MOD_ALT, boldId}, {'F', MOD_ALT, familyListId}, {'I', MOD_ALT, italicId}};
    SetFocus(GetDlgItem(window, boldId));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        key(row.key, row.modifiers);
        EXPECT_EQ(focusedId(), row.focused);
    }
    EXPECT_FALSE(IsDlgButtonChecked(window, boldId)); // Font style's letter only moves there
    EXPECT_TRUE(IsDlgButtonChecked(window, italicId));
    expectFont(preview(), {21, 0, true, L"Courier New"});
}

TEST_F(FormatWindowTest, EnterAppliesAndEscClosesWithoutApplying)
{
    // Bold on and Enter, then Bold off again and Esc: the text stays bold.
    for (int closing : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(closing);
        open();
        key('B', MOD_ALT);
        key(closing);
        EXPECT_EQ(formatWindow(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(mainWindow));
        EXPECT_EQ(GetActiveWindow(), mainWindow);
        expectFont(editFont(), {21, 800, false, L"Courier New"});
    }
}

TEST_F(FormatWindowTest, SwitchingAwayAndBackGivesTheFocusBackToItsControl)
{
    HWND window = open();
    key(VK_TAB);
    key(VK_TAB);
    ASSERT_EQ(focusedId(), boldId);
    deactivateAll();
    EXPECT_EQ(GetFocus(), nullptr);
    activate(window);
    processEvents();
    EXPECT_EQ(focusedId(), boldId);
    key(VK_ESCAPE);
}

} // namespace
