// The Find window driven as a user drives it, and the forward search underneath it.
#include "editor/editor.h"
#include "editor/globals.h"
#include "search/find_dialog.h"
#include "search/text_search.h"
#include "tests/support/editor_test.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace platform::testing;

namespace {

constexpr UINT commandFind = 8;
constexpr int hotKeyFind = 1005;
const std::wstring notFound = L"Searched string was not found in this document.";

struct Match {
    int start;
    int end;
};

TEST(FindForward, FindsTheFirstOccurrenceAtOrAfterTheStart)
{
    struct Row {
        std::wstring text;
        std::size_t start;
        std::wstring needle;
        std::size_t expected;
    };
    const Row rows[] = {
        {L"abcabc", 0, L"bc", 1},
        {L"abcabc", 3, L"bc", 4},
        {L"abcabc", 6, L"bc", noMatch},
        {L"abc", 0, L"ABC", noMatch},
        {L"aaa", 2, L"aa", noMatch},
        {L"aaab", 0, L"aab", 1},      // the first candidate fails late, the border saves it
        {L"abababc", 0, L"ababc", 2}, // a mismatch after a partial match that overlaps
        {L"ab", 0, L"abc", noMatch},  // longer than the text
        {L"abc", 4, L"", noMatch},    // start beyond the end
        {L"abc", 3, L"", 3},          // an empty needle matches at the start, even at the end
        {L"abc", 3, L"c", noMatch},
        {L"x\r\ny", 0, L"\r\ny", 1},            // a line break is two characters
        {std::wstring(L"a\0b", 3), 0, L"b", 2}, // no character ends the text early
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "needle '" << row.needle << "' from " << row.start);
        EXPECT_EQ(findForward(row.text, row.start, row.needle), row.expected);
    }
}

TEST(FindForward, AgreesWithAPlainSearchOnRepetitiveTexts)
{
    // Small alphabets make the partial matches and fallbacks that a linear search must get right.
    std::mt19937 random(20261208);
    for (int round = 0; round < 3000; ++round) {
        const wchar_t alphabet = wchar_t(L'a' + random() % 3);
        std::wstring text(random() % 40, L'a');
        for (wchar_t& c : text)
            c = wchar_t(L'a' + random() % (alphabet - L'a' + 1));
        std::wstring needle(1 + random() % 6, L'a');
        for (wchar_t& c : needle)
            c = wchar_t(L'a' + random() % (alphabet - L'a' + 1));
        const std::size_t start = random() % (text.size() + 2);
        SCOPED_TRACE(::testing::Message()
                     << "'" << needle << "' in '" << text << "' from " << start);
        const std::size_t expected = start > text.size() ? noMatch : text.find(needle, start);
        ASSERT_EQ(findForward(text, start, needle),
                  expected == std::wstring::npos ? noMatch : expected);
    }
}

class FindWindowTest : public EditorTest {
protected:
    // Opens a Find window from the menu, or with Ctrl+F after switching back to the main window.
    HWND openFind(bool byHotKey = false)
    {
        const auto before = windowsOfClass(FindDialog.className);
        if (byHotKey) {
            activate(mainWindow);
            hotKey(hotKeyFind);
        } else {
            command(commandFind);
        }
        const auto after = windowsOfClass(FindDialog.className);
        EXPECT_EQ(after.size(), before.size() + 1);
        for (HWND window : after) {
            if (std::find(before.begin(), before.end(), window) == before.end())
                return window;
        }
        return nullptr;
    }
    static HWND box(HWND find) { return GetDlgItem(find, findEditId); }
    // A click into a control of another window, which activates that window first.
    static void clickInto(HWND control)
    {
        activate(control);
        processEvents();
        click(control);
    }
    static void clickFind(HWND find) { click(GetDlgItem(find, findButtonId)); }
    static void setDocument(const std::wstring& text)
    {
        SetWindowTextW(Editor.editControl, text.c_str());
    }
    static void expectSelected(Match expected)
    {
        const Selection got = selection(Editor.editControl);
        EXPECT_EQ(got.start, expected.start);
        EXPECT_EQ(got.end, expected.end);
    }
    // Clicks Find, expecting the not-found box with the Find window as its owner.
    static void clickFindExpectingMiss(HWND find)
    {
        const std::size_t shown = shownBoxes().size();
        answerMessageBox(IDOK);
        clickFind(find);
        ASSERT_EQ(shownBoxes().size(), shown + 1);
        const ShownBox& box = shownBoxes().back();
        EXPECT_EQ(box.owner, find);
        EXPECT_EQ(box.text, notFound);
        EXPECT_EQ(box.caption, productName);
        EXPECT_EQ(box.type, MB_OK | MB_ICONINFORMATION);
    }
};

TEST_F(FindWindowTest, OpensBesideAUsableMainWindowWithTheFocusInItsBox)
{
    HWND find = openFind();
    ASSERT_TRUE(find);
    EXPECT_EQ(windowTitle(find), L"Find string in document");
    RECT outer;
    GetWindowRect(find, &outer);
    EXPECT_EQ(outer.right - outer.left, 400);
    EXPECT_EQ(outer.bottom - outer.top, 130);
    EXPECT_EQ(GetFocus(), box(find));
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    type(L"still editing");
    EXPECT_EQ(text(), L"still editing");
}

TEST_F(FindWindowTest, SearchesForwardMatchingCaseWithoutOverlapsAndGoesRoundTheEndWithABeep)
{
    struct Row {
        std::wstring document;
        std::wstring needle;
        std::vector<Match> matches; // then the first one again, round the end
    };
    const Row rows[] = {
        {L"abcabc", L"bc", {{1, 3}, {4, 6}}},
        {L"abc", L"ABC", {}},
        {L"aaa", L"aa", {{0, 2}}},
        {L"one\r\ntwo one", L"one", {{0, 3}, {9, 12}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "'" << row.needle << "' in '" << row.document << "'");
        setDocument(row.document);
        HWND find = openFind();
        typeText(box(find), row.needle);
        for (const Match& match : row.matches) {
            clickFind(find);
            expectSelected(match);
        }
        const std::size_t beepsBefore = beeps().size();
        if (row.matches.empty()) {
            // Only a needle the document does not hold is "not found".
            clickFindExpectingMiss(find);
            EXPECT_EQ(FindDialog.startPosition, 0);
        } else {
            clickFind(find);
            expectSelected(row.matches.front());
            EXPECT_EQ(beeps().size(), beepsBefore + 1);
            EXPECT_EQ(FindDialog.startPosition, row.matches.front().end);
        }
        click(GetDlgItem(find, cancelButtonId));
        EXPECT_FALSE(IsWindow(find));
    }
    EXPECT_EQ(shownBoxes().size(), 1u);
}

TEST_F(FindWindowTest, ChangingTheSearchTextRestartsButMovingTheFocusDoesNot)
{
    setDocument(L"abcabc");
    HWND find = openFind();
    typeText(box(find), L"bc");
    clickFind(find);
    expectSelected({1, 3});
    clickInto(Editor.editControl);
    EXPECT_EQ(GetFocus(), Editor.editControl);
    clickInto(box(find));
    EXPECT_EQ(GetFocus(), box(find));
    clickFind(find);
    expectSelected({4, 6});
    typeText(box(find), L"x");
    pressKey(box(find), VK_BACK);
    clickFind(find);
    expectSelected({1, 3});
}

TEST_F(FindWindowTest, ATextShortenedBelowTheStartGoesRoundToTheMatchBeforeIt)
{
    setDocument(L"abcabc");
    HWND find = openFind();
    typeText(box(find), L"bc");
    clickFind(find);
    clickFind(find);
    expectSelected({4, 6});
    setDocument(L"abc");
    clickFind(find);
    expectSelected({1, 3});
    EXPECT_EQ(beeps().size(), 1u);
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(FindWindowTest, EnterInTheBoxSearchesAsFindDoesAndItsMissBoxIsTheWindows)
{
    setDocument(L"abcabc");
    HWND find = openFind();
    typeText(box(find), L"bc");
    pressKey(box(find), VK_RETURN);
    expectSelected({1, 3});
    pressKey(box(find), VK_RETURN);
    expectSelected({4, 6});
    setDocument(L"no such text");
    answerMessageBox(IDOK);
    pressKey(box(find), VK_RETURN);
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_EQ(shownBoxes().back().owner, find);
    EXPECT_EQ(shownBoxes().back().text, notFound);
    EXPECT_EQ(GetWindowTextLengthW(box(find)), 2);
    EXPECT_EQ(GetFocus(), box(find));
    EXPECT_TRUE(beeps().empty()); // the box never saw Enter
}

TEST_F(FindWindowTest, AMatchBelowTheVisibleLinesIsScrolledIntoView)
{
    std::wstring document;
    for (int line = 0; line < 300; ++line)
        document += line == 250 ? L"needle\r\n" : L"hay\r\n";
    setDocument(document);
    ASSERT_EQ(firstVisibleLine(Editor.editControl), 0);
    HWND find = openFind();
    typeText(box(find), L"needle");
    clickFind(find);
    const int first = firstVisibleLine(Editor.editControl);
    EXPECT_LE(first, 250);
    EXPECT_GT(first + visibleLineCount(Editor.editControl), 250);
}

TEST_F(FindWindowTest, AnEmptyBoxPutsTheCaretAtTheStartAndKeepsIt)
{
    setDocument(L"abcabc");
    HWND empty = openFind();
    HWND other = openFind();
    typeText(box(other), L"bc");
    clickFind(other);
    expectSelected({1, 3});
    clickFind(empty);
    expectSelected({3, 3});
    EXPECT_TRUE(shownBoxes().empty());
    clickFind(other);
    expectSelected({4, 6});
}

TEST_F(FindWindowTest, EachWindowSearchesForItsOwnTextAndOutlivesANewerOne)
{
    setDocument(L"abcabc");
    HWND older = openFind();
    HWND newer = openFind(true);
    typeText(box(older), L"abc");
    typeText(box(newer), L"bc");
    clickFind(older);
    expectSelected({0, 3});
    click(GetDlgItem(newer, cancelButtonId));
    clickFind(older);
    expectSelected({3, 6});
    activate(older); // its text selected again: the End key keeps it
    pressKey(box(older), VK_END);
    pressKey(box(older), VK_BACK); // its own box's change restarts the search
    pressKey(box(older), VK_RETURN);
    expectSelected({0, 2});
}

TEST_F(FindWindowTest, CancelEscAndTheCloseBoxEachCloseAndActivateTheMainWindow)
{
    for (const char* way : {"Cancel", "Esc", "close box"}) {
        SCOPED_TRACE(way);
        HWND find = openFind();
        EXPECT_EQ(GetActiveWindow(), find);
        if (way[0] == 'C')
            click(GetDlgItem(find, cancelButtonId));
        else if (way[0] == 'E')
            pressKey(box(find), VK_ESCAPE);
        else
            clickCloseBox(find);
        processEvents();
        EXPECT_FALSE(IsWindow(find));
        EXPECT_EQ(GetActiveWindow(), mainWindow);
    }
    EXPECT_TRUE(beeps().empty());
}

} // namespace
