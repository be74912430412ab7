// The Find, Replace and Go to line windows from the keyboard alone: Tab and Shift+Tab in reading
// order, the underlined letters, Enter and Esc, and the focus back where it was after the user
// switched to the main window, or a box told an outcome, and back again.
#include "app/commands.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "search/find_dialog.h"
#include "search/goto_dialog.h"
#include "search/replace_dialog.h"
#include "tests/support/editor_test.h"
#include "ui/window_parts.h"

#include <string>
#include <vector>

using namespace platform::testing;

namespace {

struct Mnemonic {
    int letter;
    int focused; // the control it reaches
};

struct ToolWindow {
    const char* name;
    UINT command;
    const wchar_t* className;
    std::vector<int> tabOrder; // from the control that has the focus when the window opens
    std::vector<Mnemonic> mnemonics;
};

const std::vector<ToolWindow>& toolWindows()
{
    static const std::vector<ToolWindow> windows = {
        {"Find",
         commandFind,
         FindDialog.className,
         {findEditId, findButtonId, matchCaseId, cancelButtonId},
         {{'N', findEditId}, {'C', matchCaseId}}},
        {"Replace",
         commandReplace,
         replaceWindowClassName,
         {replaceFindEditId, replaceFindNextId, replaceWithEditId, replaceButtonId,
          replaceMatchCaseId, replaceAllId, replaceCancelId},
         {{'P', replaceWithEditId}, {'N', replaceFindEditId}, {'C', replaceMatchCaseId}}},
        {"Go to line",
         commandGoTo,
         goToWindowClassName,
         {goToLineEditId, goToButtonId, goToCancelId},
         {{'L', goToLineEditId}}},
    };
    return windows;
}

class ToolWindowKeysTest : public EditorTest {
protected:
    HWND open(const ToolWindow& tool)
    {
        command(tool.command);
        processEvents();
        const auto windows = windowsOfClass(tool.className);
        return windows.empty() ? nullptr : windows.back();
    }
    static int focusedId() { return int(GetWindowLongW(GetFocus(), GWL_ID)); }
    static void key(int virtualKey, UINT modifiers = 0)
    {
        pressKey(GetFocus(), virtualKey, modifiers);
        processEvents();
    }
    static void expectSelected(int start, int end)
    {
        const Selection got = selection(Editor.editControl);
        EXPECT_EQ(got.start, start);
        EXPECT_EQ(got.end, end);
    }
};

TEST_F(ToolWindowKeysTest, TabAndShiftTabGoRoundEachWindowInReadingOrderAndEscClosesIt)
{
    for (const ToolWindow& tool : toolWindows()) {
        SCOPED_TRACE(tool.name);
        HWND window = open(tool);
        ASSERT_TRUE(window);
        const std::vector<int>& order = tool.tabOrder;
        EXPECT_EQ(focusedId(), order.front());
        for (std::size_t i = 1; i <= order.size(); ++i) {
            key(VK_TAB);
            EXPECT_EQ(focusedId(), order[i % order.size()]);
            EXPECT_EQ(GetActiveWindow(), window);
        }
        for (std::size_t i = order.size(); i-- > 0;) {
            key(VK_TAB, MOD_SHIFT);
            EXPECT_EQ(focusedId(), order[i]);
        }
        key(VK_ESCAPE);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(GetActiveWindow(), mainWindow);
    }
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(ToolWindowKeysTest, AltWithAnUnderlinedLetterReachesItsControl)
{
    for (const ToolWindow& tool : toolWindows()) {
        SCOPED_TRACE(tool.name);
        HWND window = open(tool);
        ASSERT_TRUE(window);
        for (const Mnemonic& mnemonic : tool.mnemonics) {
            SCOPED_TRACE(char(mnemonic.letter));
            SetFocus(GetDlgItem(window, tool.tabOrder.back())); // the Cancel button
            const UINT before = IsDlgButtonChecked(window, mnemonic.focused);
            key(mnemonic.letter, MOD_ALT);
            EXPECT_EQ(focusedId(), mnemonic.focused);
            if (mnemonic.focused == matchCaseId || mnemonic.focused == replaceMatchCaseId) {
                EXPECT_NE(IsDlgButtonChecked(window, mnemonic.focused), before); // clicked
            }
        }
        DestroyWindow(window);
    }
}

TEST_F(ToolWindowKeysTest, SwitchingAwayAndBackGivesTheFocusBackToItsControl)
{
    for (const ToolWindow& tool : toolWindows()) {
        for (std::size_t step = 0; step < tool.tabOrder.size(); ++step) {
            SCOPED_TRACE(testing::Message() << tool.name << ", control " << step);
            HWND window = open(tool);
            ASSERT_TRUE(window);
            for (std::size_t i = 0; i < step; ++i)
                key(VK_TAB);
            activate(mainWindow);
            processEvents();
            EXPECT_EQ(GetFocus(), Editor.editControl);
            activate(window);
            processEvents();
            EXPECT_EQ(focusedId(), tool.tabOrder[step]);
            // The same after another program had the keyboard.
            deactivateAll();
            activate(window);
            processEvents();
            EXPECT_EQ(focusedId(), tool.tabOrder[step]);
            DestroyWindow(window);
        }
    }
}

TEST_F(ToolWindowKeysTest, FindTypeEnterSwitchToTheTextAndBackTypeAnotherWordEnter)
{
    SetWindowTextW(Editor.editControl, L"one two one");
    HWND find = open(toolWindows()[0]);
    ASSERT_TRUE(find);
    typeText(nullptr, L"two");
    key(VK_RETURN);
    expectSelected(4, 7);
    activate(mainWindow);
    click(Editor.editControl);
    processEvents();
    activate(find);
    processEvents();
    typeText(nullptr, L"one"); // over the old word, which the window selected again
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(find, findEditId)), 3);
    key(VK_RETURN);
    expectSelected(0, 3);
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(ToolWindowKeysTest, AfterAClickOnAButtonOrAMissBoxTheKeysStillWork)
{
    SetWindowTextW(Editor.editControl, L"abc");
    for (const ToolWindow& tool : {toolWindows()[0], toolWindows()[1]}) {
        for (bool miss : {false, true}) {
            SCOPED_TRACE(testing::Message() << tool.name << (miss ? ", missed" : ", found"));
            HWND window = open(tool);
            ASSERT_TRUE(window);
            HWND box = GetDlgItem(window, tool.tabOrder.front());
            SetWindowTextW(box, miss ? L"x" : L"b");
            if (miss)
                answerMessageBox(IDOK);
            click(GetDlgItem(window, tool.tabOrder[1])); // Find or Find next
            processEvents();
            typeText(nullptr, L"c");
            EXPECT_EQ(windowText(box), miss ? L"xc" : L"bc");
            key(VK_ESCAPE);
            EXPECT_FALSE(IsWindow(window));
        }
    }
    EXPECT_EQ(unusedAnswers(), 0);
}

} // namespace
