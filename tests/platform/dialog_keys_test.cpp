// The dialog keyboard of the layer: a plain window whose loop hands its keys to IsDialogMessageW
// gets Tab, the arrows within a group, the underlined letters, Enter and Esc as a dialog has them;
// each control answers WM_GETDLGCODE as Windows' own do; and without IsDialogMessageW Tab stays in
// the control that has the focus.
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/parent_window.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace platform::testing;

namespace {

std::vector<WPARAM> commands;
LRESULT defaultIdAnswer = 0; // what the window answers DM_GETDEFID with; 0 leaves it unanswered

LRESULT CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) // the boxes' notices aside
        commands.push_back(wParam);
    if (message == DM_GETDEFID && defaultIdAnswer)
        return defaultIdAnswer;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND dialog = nullptr;

bool dialogLoop(MSG* message)
{
    return IsDialogMessageW(dialog, message) != FALSE;
}

// The controls, in creation order: a label and its box, a default push button, a check box, a
// disabled and a hidden tab stop that Tab passes over, a group of two check boxes, a Cancel
// button and a box that is no tab stop.
enum : int { boxId = 10, goId, caseId, disabledId, hiddenId, firstId, secondId, plainBoxId };

class DialogKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        commands.clear();
        defaultIdAnswer = 0;
        dialog = showParentWindow(dialogProc, L"Dialog keys test window");
        ASSERT_TRUE(dialog);
        constexpr DWORD stop = WS_TABSTOP | WS_GROUP;
        add(L"static", L"&Name:", WS_GROUP, 0);
        add(L"edit", L"text", stop | WS_BORDER, boxId);
        add(L"button", L"&Go", stop | BS_DEFPUSHBUTTON, goId);
        add(L"button", L"Match &case", stop | BS_AUTOCHECKBOX, caseId);
        EnableWindow(add(L"button", L"&Disabled", stop, disabledId), FALSE);
        ShowWindow(add(L"button", L"&Hidden", stop, hiddenId), SW_HIDE);
        add(L"button", L"&First", stop | BS_AUTOCHECKBOX, firstId);
        add(L"button", L"&Second", WS_TABSTOP | BS_AUTOCHECKBOX, secondId);
        add(L"button", L"Cancel", stop, IDCANCEL);
        add(L"edit", L"", WS_GROUP | WS_BORDER, plainBoxId);
        translateMessagesWith(dialogLoop);
        SetFocus(GetDlgItem(dialog, boxId));
        processEvents();
    }
    void TearDown() override
    {
        translateMessagesWith(nullptr);
        DestroyWindow(dialog);
    }

    HWND add(const wchar_t* className, const wchar_t* text, DWORD style, int id)
    {
        static int y = 0;
        y = (y + 25) % 250;
        return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, y, 150, 22,
                               dialog, reinterpret_cast<HMENU>(UINT_PTR(id)), nullptr, nullptr);
    }
    static int focusedId() { return int(GetWindowLongW(GetFocus(), GWL_ID)); }
    static bool checked(int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
};

TEST_F(DialogKeysTest, TabAndShiftTabGoRoundTheEnabledVisibleTabStopsInCreationOrder)
{
    const std::vector<int> forward = {goId, caseId, firstId, secondId, IDCANCEL, boxId, goId};
    for (int expected : forward) {
        pressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(focusedId(), expected);
    }
    const std::vector<int> backward = {boxId, IDCANCEL, secondId};
    for (int expected : backward) {
        pressKey(GetFocus(), VK_TAB, MOD_SHIFT);
        EXPECT_EQ(focusedId(), expected);
    }
    EXPECT_TRUE(commands.empty());
}

TEST_F(DialogKeysTest, TabIntoABoxSelectsItsWholeText)
{
    pressKey(GetFocus(), VK_TAB, MOD_SHIFT);
    pressKey(GetFocus(), VK_TAB);
    ASSERT_EQ(focusedId(), boxId);
    const Selection selected = selection(GetFocus());
    EXPECT_EQ(selected.start, 0);
    EXPECT_EQ(selected.end, 4);
}

TEST_F(DialogKeysTest, ArrowsMoveWithinTheGroupOnlyAndTheBoxKeepsThem)
{
    SetFocus(GetDlgItem(dialog, firstId));
    const struct {
        int key;
        int expected;
    } rows[] = {{VK_DOWN, secondId},
                {VK_DOWN, firstId},
                {VK_UP, secondId},
                {VK_LEFT, firstId},
                {VK_RIGHT, secondId}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        pressKey(GetFocus(), row.key);
        EXPECT_EQ(focusedId(), row.expected);
    }
    EXPECT_FALSE(checked(firstId) || checked(secondId)); // moving is not clicking
    SetFocus(GetDlgItem(dialog, goId));
    pressKey(GetFocus(), VK_DOWN); // a group of its own
    EXPECT_EQ(focusedId(), goId);
    SetFocus(GetDlgItem(dialog, boxId));
    pressKey(GetFocus(), VK_LEFT);
    EXPECT_EQ(focusedId(), boxId);
}

TEST_F(DialogKeysTest, UnderlinedLettersReachTheirControls)
{
    const struct {
        const char* what;
        int startId;
        int key;
        UINT modifiers;
        int focused;
        std::vector<WPARAM> commands;
        bool caseChecked;
    } rows[] = {
        {"a label's letter focuses the box after it", goId, 'N', MOD_ALT, boxId, {}, false},
        {"a check box's letter focuses and clicks it", boxId, 'C', MOD_ALT, caseId, {caseId}, true},
        {"a push button's letter presses it", boxId, 'G', MOD_ALT, boxId, {goId}, false},
        {"without Alt where no characters are typed", goId, 'C', 0, caseId, {caseId}, true},
        {"a disabled or hidden control has none", goId, 'D', MOD_ALT, goId, {}, false},
        {"nor a hidden one", goId, 'H', MOD_ALT, goId, {}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CheckDlgButton(dialog, caseId, BST_UNCHECKED);
        commands.clear();
        SetFocus(GetDlgItem(dialog, row.startId));
        pressKey(GetFocus(), row.key, row.modifiers);
        EXPECT_EQ(focusedId(), row.focused);
        EXPECT_EQ(commands, row.commands);
        EXPECT_EQ(checked(caseId), row.caseChecked);
    }
    // In a box the letter is typed.
    HWND box = GetDlgItem(dialog, boxId);
    SetWindowTextW(box, L"");
    SetFocus(box);
    pressKey(box, 'C');
    EXPECT_EQ(GetWindowTextLengthW(box), 1);
    EXPECT_EQ(GetFocus(), box);
}

TEST_F(DialogKeysTest, EnterPressesTheDefaultButtonAndEscSendsCancel)
{
    const struct {
        const char* what;
        int startId;
        int key;
        LRESULT defaultAnswer;
        WPARAM command;
    } rows[] = {
        {"Enter without an answer to DM_GETDEFID: IDOK", boxId, VK_RETURN, 0, IDOK},
        {"Enter with one: the button named", boxId, VK_RETURN, MAKELONG(goId, DC_HASDEFID), goId},
        {"Enter on a push button: that button", IDCANCEL, VK_RETURN, MAKELONG(goId, DC_HASDEFID),
         IDCANCEL},
        {"Esc anywhere: IDCANCEL", caseId, VK_ESCAPE, 0, IDCANCEL},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        commands.clear();
        defaultIdAnswer = row.defaultAnswer;
        SetFocus(GetDlgItem(dialog, row.startId));
        pressKey(GetFocus(), row.key);
        EXPECT_EQ(commands, std::vector<WPARAM>{MAKEWPARAM(row.command, BN_CLICKED)});
    }
    EXPECT_TRUE(beeps().empty()); // the box never saw Enter or Esc
}

TEST_F(DialogKeysTest, MessagesForOtherWindowsAreNotTaken)
{
    HWND other = showParentWindow(dialogProc, L"Another window");
    MSG message = {other, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(IsDialogMessageW(dialog, &message));
    DestroyWindow(other);
}

TEST_F(DialogKeysTest, ControlsSayWhichKeysTheyKeep)
{
    const struct {
        const wchar_t* className;
        DWORD style;
        LRESULT code;
    } rows[] = {
        {L"edit", ES_MULTILINE,
         DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS},
        {L"edit", 0, DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS},
        {L"button", BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {L"button", BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {L"button", BS_AUTOCHECKBOX, DLGC_BUTTON},
        {L"Listbox", LBS_NOTIFY, DLGC_WANTARROWS | DLGC_WANTCHARS},
        {L"static", 0, DLGC_STATIC},
    };
    for (const auto& row : rows) {
        const std::wstring_view name = row.className;
        SCOPED_TRACE(testing::Message()
                     << std::string(name.begin(), name.end()) << " " << row.style);
        HWND control = add(row.className, L"", row.style, 99);
        EXPECT_EQ(SendMessageW(control, WM_GETDLGCODE, 0, 0), row.code);
        DestroyWindow(control);
    }
}

TEST_F(DialogKeysTest, WithoutTheDialogKeyboardTabStaysInTheControl)
{
    translateMessagesWith(nullptr);
    for (int id : {boxId, goId, caseId}) {
        SCOPED_TRACE(id);
        SetFocus(GetDlgItem(dialog, id));
        pressKey(GetFocus(), VK_TAB);
        processEvents();
        EXPECT_EQ(focusedId(), id);
    }
}

} // namespace
