// Accelerator tables through a message loop that translates them, menu check marks and the
// status bar control.
#include "platform/testing/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace seam = platform::testing;

namespace {

std::vector<WPARAM>& commands()
{
    static std::vector<WPARAM> seen;
    return seen;
}

LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam == 0)
        commands().push_back(wParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND frame = nullptr;
HACCEL table = nullptr;

bool translate(MSG* message)
{
    return TranslateAcceleratorW(frame, table, message) != 0;
}

std::wstring textOf(HWND hwnd)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

class ShortcutsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = frameProc;
        windowClass.lpszClassName = L"Shortcuts Test Class";
        RegisterClassW(&windowClass);
        frame =
            CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 500, 500, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(frame, SW_SHOW);
        edit = CreateWindowExW(0, L"edit", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 300,
                               200, frame, nullptr, nullptr, nullptr);
        SetFocus(edit);
        commands().clear();
    }
    void TearDown() override { seam::translateMessagesWith(nullptr); }

    static void press(int virtualKey, UINT modifiers = 0)
    {
        seam::pressKey(GetFocus(), virtualKey, modifiers);
        seam::processEvents();
    }

    HWND edit = nullptr;
};

TEST_F(ShortcutsTest, TheLoopTurnsExactlyTheTablesKeysIntoCommandsAndUsesThemUp)
{
    ACCEL keys[] = {
        {FVIRTKEY, VK_F3, 15}, {FVIRTKEY | FSHIFT, VK_F3, 16}, {FVIRTKEY | FCONTROL, 'H', 17}};
    table = CreateAcceleratorTableW(keys, 3);
    ASSERT_NE(table, nullptr);
    seam::translateMessagesWith(translate);
    press(VK_F3);
    press(VK_F3, MOD_SHIFT);
    press('H', MOD_CONTROL);
    press('H', MOD_CONTROL | MOD_SHIFT); // not in the table
    press(VK_F3, MOD_CONTROL);           // nor this
    seam::typeText(edit, L"h");
    seam::processEvents();
    EXPECT_EQ(commands(),
              (std::vector<WPARAM>{MAKEWPARAM(15, 1), MAKEWPARAM(16, 1), MAKEWPARAM(17, 1)}));
    EXPECT_EQ(textOf(edit), L"h") << "the translated keys reached no control";
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
}

TEST_F(ShortcutsTest, AKeyNoTableClaimsInTheLoopStillReachesItsControl)
{
    ACCEL keys[] = {{FVIRTKEY, 'X', 1}};
    table = CreateAcceleratorTableW(keys, 1);
    // A loop that translates nothing: the held key goes back to the control that had it.
    seam::typeText(edit, L"x");
    seam::processEvents();
    EXPECT_EQ(textOf(edit), L"x");
    EXPECT_TRUE(commands().empty());
    seam::translateMessagesWith(translate);
    seam::typeText(edit, L"x");
    seam::processEvents();
    EXPECT_EQ(textOf(edit), L"x");
    EXPECT_EQ(commands(), (std::vector<WPARAM>{MAKEWPARAM(1, 1)}));
    DestroyAcceleratorTable(table);
}

TEST_F(ShortcutsTest, CheckMenuItemFindsTheItemInThePopupsAndShowsTheMark)
{
    HMENU bar = CreateMenu();
    HMENU popup = CreateMenu();
    AppendMenuW(popup, MF_STRING, 5, L"Status bar");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"View");
    SetMenu(frame, bar);
    EXPECT_EQ(CheckMenuItem(bar, 5, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_TRUE(seam::menuBarOf(frame).front().items.front().checked);
    EXPECT_EQ(CheckMenuItem(bar, 5, MF_CHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(popup, 5, MF_UNCHECKED), DWORD(MF_CHECKED));
    EXPECT_FALSE(seam::menuBarOf(frame).front().items.front().checked);
    EXPECT_EQ(CheckMenuItem(bar, 6, MF_CHECKED), DWORD(-1));
}

TEST_F(ShortcutsTest, TheStatusBarPlacesItselfAlongTheBottomAndKeepsItsParts)
{
    const INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    EXPECT_TRUE(InitCommonControlsEx(&controls));
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"ready", WS_CHILD | WS_VISIBLE, 5, 5, 10, 10,
                               frame, nullptr, nullptr, nullptr);
    ASSERT_NE(bar, nullptr);
    RECT client;
    RECT place;
    GetClientRect(frame, &client);
    GetWindowRect(bar, &place);
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    EXPECT_EQ(place.right - place.left, client.right);
    EXPECT_EQ(place.bottom, frameRect.bottom - 8);
    EXPECT_EQ(textOf(bar), L"ready");

    int rights[] = {100, 200, -1};
    EXPECT_TRUE(SendMessageW(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(rights)));
    EXPECT_TRUE(SendMessageW(bar, SB_SETTEXTW, 1 | SBT_NOBORDERS, LPARAM(L"Ln 1")));
    EXPECT_FALSE(SendMessageW(bar, SB_SETTEXTW, 3, LPARAM(L"no such part")));
    EXPECT_EQ(SendMessageW(bar, SB_GETTEXTLENGTHW, 1, 0), MAKELONG(4, SBT_NOBORDERS));
    wchar_t text[16] = {};
    SendMessageW(bar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"Ln 1");
    int got[3] = {};
    EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(got)), 3);
    EXPECT_EQ(got[1], 200);

    // Only a forwarded WM_SIZE makes it follow a new width.
    SetWindowPos(frame, nullptr, 0, 0, 700, 400, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(bar, WM_SIZE, 0, 0);
    GetClientRect(frame, &client);
    GetWindowRect(bar, &place);
    EXPECT_EQ(place.right - place.left, client.right);
}

} // namespace
