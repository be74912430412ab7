// The multi-line edit control's messages that F3, Go to line and the status bar use: lines and
// positions, the text handle locked in place, the caret's place, the clipboard and undo messages,
// and the left mouse button and context menu seen by a subclass.
#include "format/font_choice.h"
#include "platform/testing/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

namespace seam = platform::testing;

namespace {

std::vector<UINT>& changes()
{
    static std::vector<UINT> codes;
    return codes;
}

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
        changes().push_back(EN_CHANGE);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring textOf(HWND hwnd)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

class EditLinesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = parentProc;
        windowClass.lpszClassName = L"Edit Lines Test Class";
        RegisterClassW(&windowClass);
        parent_ =
            CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 500, 500, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(parent_, SW_SHOW);
        edit_ = CreateWindowExW(0, L"edit", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 4,
                                4, 400, 300, parent_, nullptr, nullptr, nullptr);
        SetFocus(edit_);
        changes().clear();
    }

    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageW(edit_, message, wParam, lParam);
    }
    void select(int start, int end) { send(EM_SETSEL, WPARAM(start), end); }
    // The whole text as the handle gives it in place.
    std::wstring lockedText()
    {
        const auto handle = reinterpret_cast<HLOCAL>(send(EM_GETHANDLE));
        const auto* text = static_cast<const wchar_t*>(LocalLock(handle));
        std::wstring copy = text ? text : L"<null>";
        LocalUnlock(handle);
        return copy;
    }

    HWND parent_ = nullptr;
    HWND edit_ = nullptr;
};

TEST_F(EditLinesTest, LineMessagesCountTheLinesTheCrLfPairsMake)
{
    EXPECT_EQ(send(EM_GETLINECOUNT), 1);
    EXPECT_EQ(send(EM_LINEINDEX, 0), 0);
    EXPECT_EQ(send(EM_LINEINDEX, 1), -1);
    // "one" 0..3, "two" 5..8, "" 10, "last\r" 12..17 (a lone CR breaks no line).
    SetWindowTextW(edit_, L"one\r\ntwo\r\n\r\nlast\r");
    EXPECT_EQ(send(EM_GETLINECOUNT), 4);
    const struct {
        UINT message;
        long wParam;
        LRESULT expected;
    } rows[] = {
        {EM_LINEINDEX, 0, 0},     {EM_LINEINDEX, 1, 5},     {EM_LINEINDEX, 3, 12},
        {EM_LINEINDEX, 4, -1},    {EM_LINEFROMCHAR, 0, 0},  {EM_LINEFROMCHAR, 3, 0},
        {EM_LINEFROMCHAR, 4, 0},  {EM_LINEFROMCHAR, 5, 1},  {EM_LINEFROMCHAR, 10, 2},
        {EM_LINEFROMCHAR, 17, 3}, {EM_LINEFROMCHAR, 99, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.message << " " << row.wParam);
        EXPECT_EQ(send(row.message, WPARAM(row.wParam)), row.expected);
    }
    // -1: the line of the selection's start, and EM_LINEINDEX the caret's line.
    select(13, 6);
    EXPECT_EQ(send(EM_LINEFROMCHAR, WPARAM(-1)), 1);
    EXPECT_EQ(send(EM_LINEINDEX, WPARAM(-1)), 5);
}

TEST_F(EditLinesTest, TheHandleLocksToTheLiveTextAfterEveryKindOfEdit)
{
    SetWindowTextW(edit_, L"first line\r\nsecond");
    EXPECT_EQ(lockedText(), L"first line\r\nsecond");
    select(0, 0);
    seam::typeText(edit_, L"A");
    EXPECT_EQ(lockedText(), textOf(edit_));
    select(19, 19);
    seam::setClipboardText(L"+tail");
    send(WM_PASTE);
    EXPECT_EQ(lockedText(), L"Afirst line\r\nsecond+tail");
    send(WM_UNDO);
    EXPECT_EQ(lockedText(), L"Afirst line\r\nsecond");
    select(0, 7);
    send(WM_CLEAR);
    EXPECT_EQ(lockedText(), L"line\r\nsecond");
    SetWindowTextW(edit_, L"x");
    EXPECT_EQ(lockedText(), L"x");
}

TEST_F(EditLinesTest, LocksCountAndOnlyTheEditsHandleIsMovable)
{
    HWND box = CreateWindowExW(0, L"edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent_,
                               nullptr, nullptr, nullptr);
    EXPECT_EQ(SendMessageW(box, EM_GETHANDLE, 0, 0), 0) << "a one-line box has no handle";
    const auto handle = reinterpret_cast<HLOCAL>(send(EM_GETHANDLE));
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(LocalLock(handle), nullptr);
    EXPECT_NE(LocalLock(handle), nullptr);
    EXPECT_TRUE(LocalUnlock(handle));
    EXPECT_FALSE(LocalUnlock(handle));
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_FALSE(LocalUnlock(handle));
    EXPECT_EQ(GetLastError(), 158u); // ERROR_NOT_LOCKED
    EXPECT_EQ(LocalLock(nullptr), nullptr);
}

TEST_F(EditLinesTest, LocalBlocksAreFixedGrowOnlyWhenAllowedToMoveAndKeepTheirText)
{
    auto* text = static_cast<wchar_t*>(LocalAlloc(LMEM_FIXED, 4 * sizeof(wchar_t)));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(LocalLock(text), text) << "a fixed block locks to itself";
    std::wcscpy(text, L"abc");
    EXPECT_EQ(LocalReAlloc(text, 1 << 24, LMEM_FIXED), nullptr);
    auto* grown = static_cast<wchar_t*>(LocalReAlloc(text, 1 << 24, LMEM_MOVEABLE));
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(std::wstring(grown), L"abc");
    EXPECT_EQ(LocalFree(grown), nullptr);
    EXPECT_EQ(LocalAlloc(LMEM_MOVEABLE, 8), nullptr) << "movable blocks are not offered";
}

// Open reads a file into blocks of megabytes, which start on a huge page: every byte asked for
// is there, and such a block moves and shrinks like any other.
TEST_F(EditLinesTest, LargeLocalBlocksHoldEveryByteAndMoveWithTheirText)
{
    const std::size_t size = (12 << 20) + 3;
    auto* bytes = static_cast<char*>(LocalAlloc(LMEM_FIXED, size));
    ASSERT_NE(bytes, nullptr);
    bytes[0] = 'a';
    bytes[size - 1] = 'z';
    auto* moved = static_cast<char*>(LocalReAlloc(bytes, size + (5 << 20), LMEM_MOVEABLE));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved[0], 'a');
    EXPECT_EQ(moved[size - 1], 'z');
    auto* shrunk = static_cast<char*>(LocalReAlloc(moved, 1, LMEM_MOVEABLE));
    ASSERT_NE(shrunk, nullptr);
    EXPECT_EQ(shrunk[0], 'a');
    EXPECT_EQ(LocalFree(shrunk), nullptr);
    EXPECT_EQ(LocalFree(shrunk), shrunk) << "a block freed once is no longer a handle";
}

TEST_F(EditLinesTest, InAFixedPitchFontATabStopsAtEveryEighthColumn)
{
    // The editor's own font, as the Format text window makes it.
    send(WM_SETFONT, WPARAM(createFontFromChoice(14, FW_NORMAL, false, L"Courier New")), TRUE);
    // Eight characters reach the first stop exactly: the tab goes on to the second.
    SetWindowTextW(edit_, L"sgi-cmsd\t1\r\nzope\t\t2\r\nx");
    const auto xOf = [this](int position) {
        return short(LOWORD(DWORD(send(EM_POSFROMCHAR, WPARAM(position)))));
    };
    // Eight characters, where one would be rounded to whole pixels.
    const int eight = xOf(8) - xOf(0);
    ASSERT_GT(eight, 0);
    EXPECT_NEAR(xOf(9) - xOf(0), 2 * eight, 1);
    EXPECT_NEAR(xOf(18) - xOf(12), 2 * eight, 1);
}

TEST_F(EditLinesTest, TheCaretIsWhereItsCharacterIsAtEitherEndOfASelection)
{
    SetWindowTextW(edit_, L"abc\r\ndef");
    for (const auto& [anchor, caret] : {std::pair{1, 7}, std::pair{7, 1}, std::pair{5, 5}}) {
        SCOPED_TRACE(caret);
        select(anchor, caret);
        POINT at{};
        ASSERT_TRUE(GetCaretPos(&at));
        const LRESULT place = send(EM_POSFROMCHAR, WPARAM(caret));
        EXPECT_EQ(short(LOWORD(DWORD(place))), at.x);
        EXPECT_EQ(short(HIWORD(DWORD(place))), at.y);
    }
    EXPECT_GT(short(HIWORD(DWORD(send(EM_POSFROMCHAR, 5)))), 0) << "the second line is lower";
    EXPECT_EQ(send(EM_POSFROMCHAR, 8), -1) << "no character at the end of the text";
    SetFocus(parent_);
    POINT at{};
    EXPECT_FALSE(GetCaretPos(&at)) << "a frame has no caret";
}

TEST_F(EditLinesTest, ClipboardAndUndoMessagesActAsTheKeysDoAndReportTheirChanges)
{
    SetWindowTextW(edit_, L"one two");
    select(0, 4);
    send(WM_COPY);
    EXPECT_EQ(seam::clipboardText(), L"one ");
    EXPECT_TRUE(changes().empty());
    send(WM_CUT);
    EXPECT_EQ(textOf(edit_), L"two");
    select(3, 3);
    send(WM_PASTE);
    EXPECT_EQ(textOf(edit_), L"twoone ");
    EXPECT_EQ(send(WM_UNDO), TRUE);
    EXPECT_EQ(textOf(edit_), L"two");
    EXPECT_EQ(changes().size(), 3u);
    send(EM_EMPTYUNDOBUFFER);
    EXPECT_EQ(send(WM_UNDO), FALSE);
    select(1, 1);
    send(WM_CLEAR); // nothing selected: nothing cleared
    EXPECT_EQ(textOf(edit_), L"two");
}

TEST_F(EditLinesTest, ASubclassSeesTheLeftButtonAndTheContextMenusCommands)
{
    static WNDPROC original = nullptr;
    static std::vector<UINT> messages;
    static bool keepPresses = false;
    struct Subclass {
        static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if ((message >= WM_MOUSEMOVE && message <= WM_LBUTTONDBLCLK) ||
                (message >= WM_CUT && message <= WM_UNDO) || message == EM_SETSEL)
                messages.push_back(message);
            if (keepPresses && message == WM_LBUTTONDOWN)
                return 0;
            return CallWindowProcW(original, hwnd, message, wParam, lParam);
        }
    };
    SetWindowTextW(edit_, L"one two\r\nthree");
    original = reinterpret_cast<WNDPROC>(GetWindowLongW(edit_, GWL_WNDPROC));
    SetWindowLongW(edit_, GWL_WNDPROC, reinterpret_cast<LONG>(Subclass::proc));
    seam::clickCharacter(edit_, 4);
    EXPECT_EQ(seam::selection(edit_).end, 4);
    seam::clickCharacter(edit_, 10, 0, true);
    EXPECT_EQ(seam::selection(edit_).start, 9);
    EXPECT_EQ(seam::selection(edit_).end, 14);
    seam::chooseContextMenuItem(edit_, L"Copy");
    seam::chooseContextMenuItem(edit_, L"Select All");
    EXPECT_EQ(seam::selection(edit_).end, 14);
    EXPECT_EQ(messages, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_COPY,
                                           EM_SETSEL}));
    // Kept from the control, a press moves nothing.
    keepPresses = true;
    seam::clickCharacter(edit_, 2);
    EXPECT_EQ(seam::selection(edit_).start, 0);
}

} // namespace
