// The Button and Static classes of the layer, as a plain window of the program sees them: the
// notifications a user's click or key produces, the check state, and what the controls draw.
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/parent_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace platform::testing;

namespace {

struct Notification {
    WPARAM wParam;
    HWND control;
    UINT stateThen; // IsDlgButtonChecked of the control when the notification arrived
};

std::vector<Notification> notifications;
std::vector<HWND> colourRequests;
// What the parent returns for WM_CTLCOLORSTATIC; 0 leaves the answer to DefWindowProcW.
LRESULT colourAnswer = 0;

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        notifications.push_back(
            {wParam, reinterpret_cast<HWND>(lParam), IsDlgButtonChecked(hwnd, LOWORD(wParam))});
    } else if (message == WM_CTLCOLORSTATIC) {
        colourRequests.push_back(reinterpret_cast<HWND>(lParam));
        if (colourAnswer)
            return colourAnswer;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

constexpr std::uint32_t face = 0xF0F0F0;  // COLOR_3DFACE
constexpr std::uint32_t white = 0xFFFFFF; // COLOR_WINDOW

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = showParentWindow(parentProc, L"Controls test window");
        ASSERT_TRUE(parent);
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND control(const wchar_t* className, const wchar_t* text, DWORD style, int id = 7,
                 int width = 120, int height = 30)
    {
        return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10, width,
                               height, parent, reinterpret_cast<HMENU>(UINT_PTR(id)), nullptr,
                               nullptr);
    }

    HWND parent = nullptr;
};

bool isInk(std::uint32_t pixel)
{
    const auto r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r + g + b < 3 * 128;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

// Where the text is: the bounding box of the dark pixels, borders left out.
Box inkOf(const Picture& picture, int margin = 0)
{
    Box box;
    for (int y = margin; y < picture.height - margin; ++y) {
        for (int x = margin; x < picture.width - margin; ++x) {
            if (isInk(picture.at(x, y))) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

TEST_F(ControlsTest, ACheckBoxTogglesOnAClickOrSpaceAndThenReportsIt)
{
    HWND box = control(L"Button", L"Bold", BS_AUTOCHECKBOX, 1);
    click(box);
    pressKey(box, VK_SPACE);
    SendMessageW(box, BM_CLICK, 0, 0);
    ASSERT_EQ(notifications.size(), 3u);
    const UINT expected[] = {BST_CHECKED, BST_UNCHECKED, BST_CHECKED};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(notifications[i].wParam, MAKEWPARAM(1, BN_CLICKED));
        EXPECT_EQ(notifications[i].control, box);
        EXPECT_EQ(notifications[i].stateThen, expected[i]);
    }
    EXPECT_EQ(GetFocus(), box); // the click gave it the focus
}

TEST_F(ControlsTest, ThePlacedCheckStateIsReadBackWithoutANotification)
{
    HWND box = control(L"button", L"Italic", BS_AUTOCHECKBOX, 2);
    control(L"BUTTON", L"Apply", 0, 10);
    EXPECT_TRUE(CheckDlgButton(parent, 2, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(parent, 2), 1u);
    SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), LRESULT(BST_UNCHECKED));
    CheckDlgButton(parent, 10, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(parent, 10), 0u); // a push button has no check state
    EXPECT_FALSE(CheckDlgButton(parent, 99, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(parent, 99), 0u);
    EXPECT_TRUE(notifications.empty());
}

TEST_F(ControlsTest, APushButtonReportsClicksAndSpaceButNotEnterNorWhileDisabled)
{
    struct Row {
        const char* action;
        DWORD style;
        void (*act)(HWND);
        std::size_t notified;
    };
    const Row rows[] = {
        {"click", BS_PUSHBUTTON, [](HWND b) { click(b); }, 1},
        {"click on the default button", BS_DEFPUSHBUTTON, [](HWND b) { click(b); }, 1},
        {"Space", BS_PUSHBUTTON,
         [](HWND b) {
             SetFocus(b);
             pressKey(b, VK_SPACE);
         },
         1},
        {"Enter", BS_DEFPUSHBUTTON,
         [](HWND b) {
             SetFocus(b);
             pressKey(b, VK_RETURN);
         },
         0},
        {"BM_CLICK", BS_PUSHBUTTON, [](HWND b) { SendMessageW(b, BM_CLICK, 0, 0); }, 1},
        {"click while disabled", BS_PUSHBUTTON,
         [](HWND b) {
             EnableWindow(b, FALSE);
             click(b);
         },
         0},
    };
    int id = 20;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.action);
        notifications.clear();
        HWND button = control(L"Button", L"Find", row.style, ++id);
        row.act(button);
        ASSERT_EQ(notifications.size(), row.notified);
        if (row.notified) {
            EXPECT_EQ(notifications[0].wParam, MAKEWPARAM(WORD(id), BN_CLICKED));
            EXPECT_EQ(notifications[0].control, button);
        }
        DestroyWindow(button);
    }
}

TEST_F(ControlsTest, StaticsAndCheckBoxesPaintOnTheBrushTheirParentReturns)
{
    struct Row {
        const wchar_t* className;
        DWORD style;
        LRESULT answer;
        std::uint32_t background;
    };
    const Row rows[] = {
        {L"Static", SS_LEFT, 0, face},
        {L"Static", SS_LEFT, COLOR_WINDOW + 1, white},
        {L"Button", BS_AUTOCHECKBOX, COLOR_WINDOW + 1, white},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "answer " << row.answer);
        colourAnswer = row.answer;
        colourRequests.clear();
        HWND label = control(row.className, L"x", row.style);
        const Picture picture = pictureOf(label);
        ASSERT_FALSE(colourRequests.empty());
        EXPECT_EQ(colourRequests.back(), label);
        EXPECT_EQ(picture.at(picture.width - 2, picture.height - 2), row.background);
        DestroyWindow(label);
    }
}

TEST_F(ControlsTest, StaticTextIsPlacedByItsAlignmentStyle)
{
    struct Row {
        const char* name;
        DWORD style;
        const wchar_t* text;
        bool (*placed)(const Box& ink, int width, int height);
    };
    const Row rows[] = {
        {"SS_LEFT starts at the left, at the top", SS_LEFT, L"Font",
         [](const Box& i, int, int h) { return i.left < 4 && i.bottom < h / 2; }},
        {"SS_CENTER centres each line", SS_CENTER, L"Font",
         [](const Box& i, int w, int) { return std::abs(i.left - (w - 1 - i.right)) <= 2; }},
        {"SS_CENTERIMAGE centres the line vertically", SS_CENTER | SS_CENTERIMAGE, L"Preview",
         [](const Box& i, int, int h) { return std::abs(i.top - (h - 1 - i.bottom)) <= 4; }},
        {"SS_LEFT wraps words", SS_LEFT, L"Font Font Font Font Font Font",
         [](const Box& i, int, int) { return i.bottom - i.top > 20; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND label = control(L"Static", row.text, row.style, 0, 100, 60);
        const Picture picture = pictureOf(label);
        const Box ink = inkOf(picture);
        ASSERT_FALSE(ink.empty());
        EXPECT_TRUE(row.placed(ink, picture.width, picture.height))
            << "ink " << ink.left << "," << ink.top << " to " << ink.right << "," << ink.bottom;
        DestroyWindow(label);
    }
}

TEST_F(ControlsTest, AnAmpersandMarksALetterUnlessDoubledOrSwitchedOff)
{
    auto pictureWith = [this](const wchar_t* text, DWORD style) {
        HWND label = control(L"Static", text, style);
        Picture picture = pictureOf(label);
        DestroyWindow(label);
        return picture.pixels;
    };
    EXPECT_EQ(pictureWith(L"A&&B", SS_LEFT), pictureWith(L"A&B", SS_NOPREFIX));
    EXPECT_NE(pictureWith(L"&AB", SS_LEFT), pictureWith(L"&AB", SS_NOPREFIX));
    EXPECT_NE(pictureWith(L"&AB", SS_LEFT), pictureWith(L"AB", SS_LEFT)); // the underline
}

TEST_F(ControlsTest, AStaticShowsTheFontAndTextItIsGivenAndItsBorder)
{
    HWND preview =
        control(L"Static", L"Preview text", WS_BORDER | SS_CENTER | SS_CENTERIMAGE, 0, 345, 50);
    const Picture system = pictureOf(preview);
    EXPECT_EQ(system.at(0, 0), 0x000000u); // the border
    EXPECT_EQ(system.at(1, 1), face);      // the background inside it
    HFONT big = CreateFontW(54, 0, 0, 0, 800, 1, 0, 0, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS,
                            CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, L"Arial");
    SendMessageW(preview, WM_SETFONT, reinterpret_cast<WPARAM>(big), 1);
    EXPECT_EQ(fontOf(preview), big);
    const Box before = inkOf(system, 1);
    const Box after = inkOf(pictureOf(preview), 1);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top + 10);
    SetWindowTextW(preview, L"");
    EXPECT_TRUE(inkOf(pictureOf(preview), 1).empty());
}

} // namespace
