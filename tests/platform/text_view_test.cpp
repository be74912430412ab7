// The multi-line edit control as the user drives it in the editor: the caret over lines and
// words, editing keys, the toggling undo, the clipboard, the mouse and the context menu, and
// scrolling that follows the caret.
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "tests/support/editor_test.h"

#include <functional>
#include <string>
#include <vector>

namespace seam = platform::testing;

namespace {

struct Key {
    int virtualKey;
    UINT modifiers = 0;
};

class TextViewTest : public EditorTest {
protected:
    HWND edit() const { return Editor.editControl; }

    void setText(const wchar_t* text)
    {
        SetWindowTextW(edit(), text);
        SetFocus(edit());
    }

    void press(const std::vector<Key>& keys)
    {
        for (const Key& key : keys)
            seam::pressKey(edit(), key.virtualKey, key.modifiers);
    }

    void selectRange(int start, int end) { SendMessageW(edit(), EM_SETSEL, WPARAM(start), end); }

    seam::Selection selected() const { return seam::selection(edit()); }
};

// "one two" 0..7, CR LF, "three" 9..14, CR LF, "" 16, CR LF, "four five" 18..27.
constexpr const wchar_t* fourLines = L"one two\r\nthree\r\n\r\nfour five";

TEST_F(TextViewTest, ArrowsHomeEndAndWordKeysMoveTheCaretOverLinesAsTheTextHasThem)
{
    setText(fourLines);
    const struct {
        const char* name;
        int from;
        std::vector<Key> keys;
        int start;
        int end;
    } cases[] = {
        {"Right over a line break steps over both characters", 7, {{VK_RIGHT}}, 9, 9},
        {"Left over a line break", 9, {{VK_LEFT}}, 7, 7},
        {"End of a line stops before its break", 9, {{VK_END}}, 14, 14},
        {"Home", 12, {{VK_HOME}}, 9, 9},
        {"Ctrl+End and Ctrl+Home", 3, {{VK_END, MOD_CONTROL}, {VK_LEFT}}, 26, 26},
        {"Ctrl+Right to the next word", 0, {{VK_RIGHT, MOD_CONTROL}}, 4, 4},
        {"Ctrl+Right past a line end", 4, {{VK_RIGHT, MOD_CONTROL}}, 9, 9},
        {"Ctrl+Left to the word start", 21, {{VK_LEFT, MOD_CONTROL}}, 18, 18},
        {"Shift extends from the anchor", 4, {{VK_END, MOD_SHIFT}}, 4, 7},
        {"Left collapses a selection to its start", 4, {{VK_END, MOD_SHIFT}, {VK_LEFT}}, 4, 4},
        {"Down keeps the column", 2, {{VK_DOWN}}, 11, 11},
        {"Down through an empty line comes back to the column", 13, {{VK_DOWN}, {VK_DOWN}}, 22, 22},
        {"Up on the first line stays", 2, {{VK_UP}}, 2, 2},
        {"Shift+Down selects to the same column", 1, {{VK_DOWN, MOD_SHIFT}}, 1, 10},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        selectRange(row.from, row.from);
        press(row.keys);
        EXPECT_EQ(selected().start, row.start);
        EXPECT_EQ(selected().end, row.end);
    }
}

TEST_F(TextViewTest, EditingKeysTreatALineBreakAsOneCharacterAndReportTheChange)
{
    const struct {
        const char* name;
        int start;
        int end;
        std::vector<Key> keys;
        std::wstring text;
    } cases[] = {
        {"Backspace at a line start joins the lines",
         9,
         9,
         {{VK_BACK}},
         L"one twothree\r\n\r\nfour five"},
        {"Delete at a line end joins them too",
         7,
         7,
         {{VK_DELETE}},
         L"one twothree\r\n\r\nfour five"},
        {"Backspace removes a selection only", 0, 4, {{VK_BACK}}, L"two\r\nthree\r\n\r\nfour five"},
        {"Ctrl+Backspace removes the word before",
         7,
         7,
         {{VK_BACK, MOD_CONTROL}},
         L"one \r\nthree\r\n\r\nfour five"},
        {"Ctrl+Delete removes up to the next word",
         18,
         18,
         {{VK_DELETE, MOD_CONTROL}},
         L"one two\r\nthree\r\n\r\nfive"},
        {"Enter replaces the selection with a line break",
         3,
         4,
         {{VK_RETURN}},
         L"one\r\ntwo\r\nthree\r\n\r\nfour five"},
        {"Backspace at the start changes nothing", 0, 0, {{VK_BACK}}, fourLines},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        setText(fourLines);
        Document.forget();
        selectRange(row.start, row.end);
        press(row.keys);
        EXPECT_EQ(text(), row.text);
        EXPECT_EQ(Document.saved(), row.text == fourLines) << "only a change marks it unsaved";
    }
}

TEST_F(TextViewTest, TheClipboardGetsLinesEndingInLfAndPastedLineEndsBecomeCrLf)
{
    setText(fourLines);
    selectRange(4, 14);
    press({{'C', MOD_CONTROL}});
    EXPECT_EQ(seam::clipboardText(), L"two\nthree");
    press({{VK_END, MOD_CONTROL}, {'V', MOD_CONTROL}});
    EXPECT_EQ(text(), std::wstring(fourLines) + L"two\r\nthree");

    seam::setClipboardText(L"a\rb\nc");
    selectRange(0, 7);
    press({{VK_INSERT, MOD_SHIFT}});
    EXPECT_EQ(text().substr(0, 14), L"a\r\nb\r\nc\r\nthree");
    selectRange(0, 1);
    press({{VK_DELETE, MOD_SHIFT}});
    EXPECT_EQ(seam::clipboardText(), L"a");
    EXPECT_EQ(text().substr(0, 3), L"\r\nb");
}

TEST_F(TextViewTest, PastingPastTheTypingLimitKeepsWhatFitsWithoutHalfALineBreak)
{
    setText(L"");
    SendMessageW(edit(), EM_SETLIMITTEXT, 5, 0);
    seam::setClipboardText(L"abcd\nef");
    press({{'V', MOD_CONTROL}});
    EXPECT_EQ(text(), L"abcd");
    type(L"x");
    EXPECT_EQ(text(), L"abcdx");
    type(L"y");
    EXPECT_EQ(text(), L"abcdx");
}

TEST_F(TextViewTest, AClickPlacesTheCaretShiftClickExtendsAndADoubleClickTakesAWord)
{
    setText(fourLines);
    seam::clickCharacter(edit(), 11);
    EXPECT_EQ(selected().start, 11);
    EXPECT_EQ(selected().end, 11);
    seam::clickCharacter(edit(), 20, MOD_SHIFT);
    EXPECT_EQ(selected().start, 11);
    EXPECT_EQ(selected().end, 20);
    seam::clickCharacter(edit(), 24, 0, true);
    EXPECT_EQ(selected().start, 23);
    EXPECT_EQ(selected().end, 27);
}

TEST_F(TextViewTest, TheContextMenuOffersWhatTheSelectionAllowsAndActsLikeTheKeys)
{
    setText(L"keep this");
    seam::setClipboardText(L"");
    const auto enabled = [this](const std::wstring& item) {
        for (const auto& entry : seam::contextMenuOf(edit())) {
            if (entry.text == item)
                return entry.enabled;
        }
        ADD_FAILURE() << "no item like that";
        return false;
    };
    EXPECT_FALSE(enabled(L"Undo"));
    EXPECT_FALSE(enabled(L"Cut"));
    EXPECT_FALSE(enabled(L"Copy"));
    EXPECT_FALSE(enabled(L"Paste"));
    EXPECT_TRUE(enabled(L"Select All"));

    seam::chooseContextMenuItem(edit(), L"Select All");
    EXPECT_TRUE(enabled(L"Cut"));
    seam::chooseContextMenuItem(edit(), L"Delete");
    EXPECT_EQ(text(), L"");
    EXPECT_FALSE(Document.saved());
    seam::chooseContextMenuItem(edit(), L"Undo");
    EXPECT_EQ(text(), L"keep this");
    selectRange(0, 4);
    seam::chooseContextMenuItem(edit(), L"Cut");
    seam::chooseContextMenuItem(edit(), L"Paste");
    seam::chooseContextMenuItem(edit(), L"Paste");
    EXPECT_EQ(text(), L"keepkeep this");
}

TEST_F(TextViewTest, TheViewFollowsTheCaretDownALongDocumentAndAlongALongLine)
{
    std::wstring lines;
    for (int i = 100; i < 600; ++i)
        lines += L"line " + std::to_wstring(i) + L"\r\n"; // 10 characters a line
    setText(lines.c_str());
    const int page = seam::visibleLineCount(edit());
    ASSERT_GT(page, 3);
    press({{VK_NEXT}});
    EXPECT_EQ(seam::firstVisibleLine(edit()), page);
    const int caretLine = int(SendMessageW(edit(), EM_GETSEL, 0, 0) & 0xFFFF) / 10;
    EXPECT_EQ(caretLine, page) << "the caret goes down a page with the text";
    press({{VK_END, MOD_CONTROL}});
    EXPECT_GE(seam::firstVisibleLine(edit()) + page, 500);

    setText(std::wstring(5000, L'w').c_str());
    EXPECT_EQ(seam::horizontalScroll(edit()), 0);
    press({{VK_END}});
    EXPECT_GT(seam::horizontalScroll(edit()), 1000);
    type(L"!");
    EXPECT_EQ(text().back(), L'!');
    press({{VK_HOME}});
    EXPECT_EQ(seam::horizontalScroll(edit()), 0);
}

// The scroll bars show their last drawing again while nothing changes, so a bar that missed a
// change would show where the view was before.
TEST_F(TextViewTest, TheVerticalScrollBarShowsWhereTheViewIsAndHowLongTheTextIs)
{
    const auto bar = [this] {
        const seam::Picture picture = seam::pictureOf(edit());
        std::vector<std::uint32_t> strip;
        for (int y = 0; y < picture.height; ++y)
            for (int x = picture.width - 12; x < picture.width - 2; ++x)
                strip.push_back(picture.at(x, y));
        return strip;
    };
    const auto linesOf = [](int count) {
        std::wstring lines;
        for (int i = 0; i < count; ++i)
            lines += L"line\r\n";
        return lines;
    };
    setText(linesOf(2 * seam::visibleLineCount(edit())).c_str());
    const auto shortText = bar();
    setText(linesOf(500).c_str());
    const auto atTop = bar();
    EXPECT_NE(atTop, shortText) << "a longer text has a shorter slider";
    EXPECT_EQ(bar(), atTop) << "nothing changed";
    press({{VK_END, MOD_CONTROL}});
    EXPECT_NE(bar(), atTop) << "the slider went down with the view";
    press({{VK_HOME, MOD_CONTROL}});
    EXPECT_EQ(bar(), atTop) << "and came back";
}

// What the control shows after a user's history must not depend on that history: after typing,
// selecting, scrolling both ways, a new font and disabling, it looks exactly like a control given
// the same text and state at once (its scroll bars keep their drawing between changes).
TEST_F(TextViewTest, AfterAUsersHistoryTheControlLooksLikeOneGivenItsStateAtOnce)
{
    const auto control = [] {
        return CreateWindowExW(0, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                   ES_NOHIDESEL,
                               0, 0, 300, 200, mainWindow, nullptr, nullptr, nullptr);
    };
    // Rows alike come back further down.
    std::wstring text;
    for (int i = 0; i < 60; ++i)
        text += L"row " + std::to_wstring(i % 7) + L"\tof\x01 text " +
                std::wstring(std::size_t(i % 5 * 9), L'w') + L"\r\n";
    HFONT font = CreateFontW(-20, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FIXED_PITCH, L"Courier New");
    // The state both controls end in; the used one is painted after every step.
    const LPARAM farRight = 4 * 37 + 30; // the end of line 4, past the right edge
    const auto finish = [&](HWND edit, const std::function<void()>& painted) {
        seam::scrollBy(edit, 2);
        painted();
        SendMessageW(edit, EM_SETSEL, WPARAM(farRight), farRight);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        painted();
        SendMessageW(edit, WM_SETFONT, WPARAM(font), TRUE);
        painted();
        SendMessageW(edit, EM_SETSEL, 120, 260);
        painted();
        EnableWindow(edit, FALSE); // the same rows in other colours
        painted();
    };
    HWND used = control();
    const auto painted = [&] { seam::pictureOf(used); };
    SetWindowTextW(used, text.c_str());
    painted();
    SendMessageW(used, EM_SETSEL, 30, 30);
    SendMessageW(used, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"typed"));
    painted();
    SendMessageW(used, EM_SETSEL, 20, 140);
    painted();
    seam::scrollBy(used, 7);
    painted();
    seam::scrollBy(used, -7);
    painted();
    finish(used, painted);

    std::wstring now(text.size() + 16, L'\0');
    now.resize(std::size_t(GetWindowTextW(used, now.data(), int(now.size()))));
    HWND fresh = control();
    SetWindowTextW(fresh, now.c_str());
    finish(fresh, [] {});
    ASSERT_EQ(seam::firstVisibleLine(fresh), seam::firstVisibleLine(used));
    ASSERT_EQ(seam::horizontalScroll(fresh), seam::horizontalScroll(used));
    ASSERT_GT(seam::horizontalScroll(used), 0);
    EXPECT_EQ(seam::pictureOf(used).pixels, seam::pictureOf(fresh).pixels);
}

TEST_F(TextViewTest, AReadOnlyControlRefusesTheUserWithABeepButTakesTheProgramsText)
{
    HWND readOnly =
        CreateWindowExW(0, L"EDIT", L"fixed", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, 0,
                        0, 100, 50, mainWindow, nullptr, nullptr, nullptr);
    SetFocus(readOnly);
    SendMessageW(readOnly, EM_SETSEL, 5, 5);
    seam::typeText(readOnly, L"!");
    seam::pressKey(readOnly, VK_BACK);
    EXPECT_EQ(seam::beeps(), (std::vector<UINT>{MB_OK, MB_OK}));
    SendMessageW(readOnly, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L" text"));
    std::wstring shown(16, L'\0');
    shown.resize(std::size_t(GetWindowTextW(readOnly, shown.data(), 16)));
    EXPECT_EQ(shown, L"fixed text");
    EXPECT_FALSE(SendMessageW(readOnly, EM_CANUNDO, 0, 0)) << "FALSE: the change cannot be undone";
}

} // namespace
