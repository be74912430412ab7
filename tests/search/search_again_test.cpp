// F3 and Shift+F3, the Replace window and the Go to line window, driven as a user drives them:
// keys in the main window and the tool windows, clicks on their buttons, Undo afterwards.
#include "app/commands.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "search/find_dialog.h"
#include "search/goto_dialog.h"
#include "search/replace_dialog.h"
#include "tests/support/editor_test.h"

#include <string>
#include <vector>

using namespace platform::testing;

namespace {

const std::wstring notFound = L"Searched string was not found in this document.";

class SearchAgainTest : public EditorTest {
protected:
    static HWND edit() { return Editor.editControl; }
    static void setDocument(const std::wstring& text) { SetWindowTextW(edit(), text.c_str()); }
    static void caretAt(int position) { SendMessageW(edit(), EM_SETSEL, position, position); }
    static void expectSelected(int start, int end)
    {
        const Selection got = selection(edit());
        EXPECT_EQ(got.start, start);
        EXPECT_EQ(got.end, end);
    }
    // A key pressed in the main window's edit control, as the user would.
    static void key(int virtualKey, UINT modifiers = 0)
    {
        activate(mainWindow);
        SetFocus(edit());
        pressKey(edit(), virtualKey, modifiers);
        processEvents();
    }
    static HWND onlyWindowOf(const wchar_t* className)
    {
        const auto windows = windowsOfClass(className);
        EXPECT_EQ(windows.size(), 1u);
        return windows.empty() ? nullptr : windows.front();
    }
    // Searches once through the Find window, which sets the text that F3 looks for again.
    HWND searchWithFindWindow(const std::wstring& needle, bool matchCase = true)
    {
        command(8);
        HWND find = windowsOfClass(FindDialog.className).back();
        SetWindowTextW(GetDlgItem(find, findEditId), needle.c_str());
        if (!matchCase)
            click(GetDlgItem(find, matchCaseId));
        click(GetDlgItem(find, findButtonId));
        processEvents();
        return find;
    }
};

TEST_F(SearchAgainTest, F3AndShiftF3GoFromTheCaretToTheNextAndPreviousAndRoundTheEnds)
{
    // "ab" at 0, 5 and 10.
    setDocument(L"ab-- ab-- ab");
    searchWithFindWindow(L"ab");
    expectSelected(0, 2);
    const struct {
        const char* name;
        int caret;
        int virtualKey;
        UINT modifiers;
        int start;
        bool wraps;
    } rows[] = {
        {"F3 from the start", 0, VK_F3, 0, 0, false},
        {"F3 from inside an occurrence finds the next", 6, VK_F3, 0, 10, false},
        {"F3 after the last goes round to the first", 11, VK_F3, 0, 0, true},
        {"F3 at the very end", 12, VK_F3, 0, 0, true},
        {"Shift+F3 from the end finds the last", 12, VK_F3, MOD_SHIFT, 10, false},
        {"Shift+F3 from inside an occurrence finds the one before", 6, VK_F3, MOD_SHIFT, 0, false},
        {"Shift+F3 before the first goes round to the last", 1, VK_F3, MOD_SHIFT, 10, true},
        {"Shift+F3 at the very start", 0, VK_F3, MOD_SHIFT, 10, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        caretAt(row.caret);
        const std::size_t beepsBefore = beeps().size();
        key(row.virtualKey, row.modifiers);
        expectSelected(row.start, row.start + 2);
        EXPECT_EQ(beeps().size(), beepsBefore + (row.wraps ? 1 : 0));
    }
    EXPECT_EQ(shownBoxes().size(), 0u);
}

TEST_F(SearchAgainTest, F3FollowsEditsAndTheCaretAndSaysNotFoundOnlyWhenTheTextIsGone)
{
    setDocument(L"one needle two");
    searchWithFindWindow(L"needle");
    expectSelected(4, 10);
    // Typed before the match, the document moves it; the search reads the text as it is now.
    caretAt(0);
    type(L"new ");
    key(VK_F3);
    expectSelected(8, 14);
    // The caret moved past it: F3 goes round, and still finds it.
    caretAt(18);
    key(VK_F3);
    expectSelected(8, 14);
    // Gone from the document: now, and only now, not found.
    key(VK_DELETE);
    answerMessageBox(IDOK);
    key(VK_F3);
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_EQ(shownBoxes().back().text, notFound);
    EXPECT_EQ(shownBoxes().back().owner, mainWindow);
}

TEST_F(SearchAgainTest, F3WithNothingSearchedYetOpensOneFindWindow)
{
    setDocument(L"text");
    key(VK_F3);
    HWND find = onlyWindowOf(FindDialog.className);
    EXPECT_EQ(GetFocus(), GetDlgItem(find, findEditId));
    // Pressed again in the Find window's box, it stays with that window.
    pressKey(GetDlgItem(find, findEditId), VK_F3);
    processEvents();
    onlyWindowOf(FindDialog.className);
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(SearchAgainTest, F3WorksFromTheFindWindowAndTheEditMenu)
{
    setDocument(L"ab ab ab");
    HWND find = searchWithFindWindow(L"ab");
    pressKey(GetDlgItem(find, findEditId), VK_F3);
    processEvents();
    expectSelected(3, 5);
    command(commandFindNext);
    expectSelected(6, 8);
    command(commandFindPrevious);
    expectSelected(3, 5);
}

TEST_F(SearchAgainTest, MatchCaseOffIgnoresTheCaseOfAccentedAndNonLatinLetters)
{
    const struct {
        std::wstring document;
        std::wstring needle;
        int start; // -1: not found
    } rows[] = {
        {L"l'ÉCOLE", L"école", 2}, {L"straße STRASSE", L"STRAßE", 0},
        {L"ΣΟΦΊΑ", L"σοφία", 0},   {L"ПРИВЕТ мир", L"привет", 0},
        {L"ÇA VA", L"ça", 0},      {L"Ǆ", L"ǆ", 0},
        {L"ΟΔΟΣ", L"οδος", 0},     {L"e", L"é", -1}, // an accent is not a case
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "'" << row.needle << "' in '" << row.document << "'");
        setDocument(row.document);
        caretAt(0);
        const std::size_t boxes = shownBoxes().size();
        if (row.start < 0)
            answerMessageBox(IDOK);
        HWND find = searchWithFindWindow(row.needle, false);
        if (row.start < 0)
            EXPECT_EQ(shownBoxes().size(), boxes + 1);
        else
            expectSelected(row.start, row.start + int(row.needle.size()));
        DestroyWindow(find);
    }
}

TEST_F(SearchAgainTest, MatchCaseOnTellsCapitalsApartAndF3KeepsTheChoice)
{
    setDocument(L"Été été");
    searchWithFindWindow(L"été");
    expectSelected(4, 7);
    caretAt(0);
    key(VK_F3);
    expectSelected(4, 7);
    searchWithFindWindow(L"été", false);
    caretAt(5);
    key(VK_F3);
    expectSelected(0, 3);
}

class ReplaceWindowTest : public SearchAgainTest {
protected:
    HWND openReplace()
    {
        activate(mainWindow);
        SetFocus(edit());
        key('H', MOD_CONTROL);
        return onlyWindowOf(replaceWindowClassName);
    }
    static void fill(HWND replace, const std::wstring& what, const std::wstring& with)
    {
        SetWindowTextW(GetDlgItem(replace, replaceFindEditId), what.c_str());
        SetWindowTextW(GetDlgItem(replace, replaceWithEditId), with.c_str());
    }
    static void press(HWND replace, int button)
    {
        click(GetDlgItem(replace, button));
        processEvents();
    }
};

TEST_F(ReplaceWindowTest, OpensOnceBesideAUsableMainWindowWithTheLastSearchInIt)
{
    setDocument(L"abc");
    DestroyWindow(searchWithFindWindow(L"bc"));
    HWND replace = openReplace();
    EXPECT_EQ(windowTitle(replace), L"Replace string in document");
    EXPECT_EQ(GetFocus(), GetDlgItem(replace, replaceFindEditId));
    EXPECT_EQ(GetWindowLongW(replace, GWL_HWNDPARENT), reinterpret_cast<LONG>(mainWindow));
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(replace, replaceFindEditId)), 2);
    EXPECT_EQ(IsDlgButtonChecked(replace, replaceMatchCaseId), UINT(BST_CHECKED));
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    command(commandReplace);
    onlyWindowOf(replaceWindowClassName);
    caretAt(3);
    SetFocus(edit());
    type(L"!");
    EXPECT_EQ(text(), L"abc!");
}

TEST_F(ReplaceWindowTest, ReplaceFindsFirstThenReplacesEachSelectedOccurrence)
{
    setDocument(L"cat, Cat, cat.");
    caretAt(0);
    HWND replace = openReplace();
    fill(replace, L"cat", L"dog");
    press(replace, replaceButtonId); // nothing selected yet: only finds
    expectSelected(0, 3);
    EXPECT_EQ(text(), L"cat, Cat, cat.");
    press(replace, replaceButtonId);
    EXPECT_EQ(text(), L"dog, Cat, cat.");
    expectSelected(10, 13); // Match case passes over "Cat"
    // Replaced, and no other occurrence is left to select.
    answerMessageBox(IDOK);
    press(replace, replaceButtonId);
    EXPECT_EQ(text(), L"dog, Cat, dog.");
    EXPECT_EQ(shownBoxes().back().text, notFound);
    // One Undo takes back the last replacement only.
    SendMessageW(edit(), WM_UNDO, 0, 0);
    EXPECT_EQ(text(), L"dog, Cat, cat.");
}

TEST_F(ReplaceWindowTest, ReplaceAllIsOneStepThatOneUndoTakesBackAndTellsTheCount)
{
    const struct {
        const char* name;
        std::wstring document;
        std::wstring what;
        std::wstring with;
        bool matchCase;
        std::wstring result;
        std::wstring told;
    } rows[] = {
        {"every occurrence", L"a-b-a-b", L"a", L"xyz", true, L"xyz-b-xyz-b",
         L"Replaced 2 occurrences."},
        {"one", L"one two", L"two", L"", true, L"one ", L"Replaced 1 occurrence."},
        {"without case", L"Ça ça ÇA", L"ça", L"ok", false, L"ok ok ok", L"Replaced 3 occurrences."},
        {"at both ends", L"ab-ab", L"ab", L"c", true, L"c-c", L"Replaced 2 occurrences."},
        {"a replacement holding the text", L"aa", L"a", L"aa", true, L"aaaa",
         L"Replaced 2 occurrences."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        setDocument(row.document);
        HWND replace = openReplace();
        fill(replace, row.what, row.with);
        CheckDlgButton(replace, replaceMatchCaseId, row.matchCase ? BST_CHECKED : BST_UNCHECKED);
        answerMessageBox(IDOK);
        press(replace, replaceAllId);
        EXPECT_EQ(text(), row.result);
        ASSERT_FALSE(shownBoxes().empty());
        EXPECT_EQ(shownBoxes().back().text, row.told);
        EXPECT_EQ(shownBoxes().back().owner, replace);
        EXPECT_EQ(GetFocus(), GetDlgItem(replace, replaceFindEditId));
        command(commandUndo);
        EXPECT_EQ(text(), row.document);
        command(commandRedo);
        EXPECT_EQ(text(), row.result);
        command(commandUndo);
        EXPECT_EQ(text(), row.document);
        DestroyWindow(replace);
    }
}

// The step keeps the places and what was found there, not the stretch: a Replace all across a
// text far larger than the record may hold is still taken back and made again.
TEST_F(ReplaceWindowTest, ReplaceAllOverALargeTextIsKeptByItsPlacesAndUndoneWhole)
{
    std::wstring document;
    for (int i = 0; i < 20'000; ++i)
        document += (i % 3 ? L"a Zebra line\r\n" : L"a zebra line\r\n");
    setDocument(document);
    // 280,000 characters are 1.1 MB in the record as text (four bytes each here); the places and
    // what was found, about half that.
    Document.edits().setLimit(1 << 20);
    HWND replace = openReplace();
    fill(replace, L"zebra", L"okapi");
    CheckDlgButton(replace, replaceMatchCaseId, BST_UNCHECKED);
    answerMessageBox(IDOK);
    press(replace, replaceAllId);
    const std::wstring replaced = text();
    EXPECT_EQ(replaced.find(L"ebra"), std::wstring::npos);
    EXPECT_TRUE(Document.edits().canUndo());
    command(commandUndo);
    EXPECT_TRUE(text() == document) << "each occurrence back as it was, Zebra or zebra";
    command(commandRedo);
    EXPECT_TRUE(text() == replaced);
    DestroyWindow(replace);
}

TEST_F(ReplaceWindowTest, ReplaceAllOfAbsentTextChangesNothingAndSaysNotFound)
{
    setDocument(L"some text");
    type(L"!");
    HWND replace = openReplace();
    fill(replace, L"absent", L"x");
    answerMessageBox(IDOK);
    press(replace, replaceAllId);
    EXPECT_EQ(shownBoxes().back().text, notFound);
    EXPECT_EQ(text(), L"!some text");
    // The typing is still what Undo takes back: Replace all left the undo step alone.
    command(commandUndo);
    EXPECT_EQ(text(), L"some text");
}

TEST_F(ReplaceWindowTest, EnterFindsNextAndEscCloses)
{
    setDocument(L"ab ab");
    caretAt(0);
    HWND replace = openReplace();
    HWND what = GetDlgItem(replace, replaceFindEditId);
    typeText(what, L"ab");
    pressKey(what, VK_RETURN);
    processEvents();
    expectSelected(0, 2);
    pressKey(GetDlgItem(replace, replaceWithEditId), VK_RETURN);
    processEvents();
    expectSelected(3, 5);
    EXPECT_TRUE(beeps().empty());
    pressKey(what, VK_ESCAPE);
    processEvents();
    EXPECT_FALSE(IsWindow(replace));
    EXPECT_EQ(GetActiveWindow(), mainWindow);
}

class GoToLineTest : public SearchAgainTest {
protected:
    HWND openGoTo()
    {
        key('G', MOD_CONTROL);
        return onlyWindowOf(goToWindowClassName);
    }
    // Types the number into the Go to line window and presses its button.
    void goTo(const std::wstring& typed)
    {
        HWND window = openGoTo();
        HWND box = GetDlgItem(window, goToLineEditId);
        SetWindowTextW(box, typed.c_str());
        click(GetDlgItem(window, goToButtonId));
        processEvents();
    }
};

TEST_F(GoToLineTest, OpensWithTheCaretsLineSelectedInItsBox)
{
    setDocument(L"one\r\ntwo\r\nthree");
    caretAt(7);
    HWND window = openGoTo();
    HWND box = GetDlgItem(window, goToLineEditId);
    EXPECT_EQ(GetFocus(), box);
    wchar_t typed[8] = {};
    GetWindowTextW(box, typed, 8);
    EXPECT_EQ(std::wstring(typed), L"2");
    EXPECT_EQ(selection(box).end, 1);
}

TEST_F(GoToLineTest, MovesTheCaretToTheLineStartScrolledIntoViewAndClosesItself)
{
    std::wstring document;
    for (int line = 1; line <= 300; ++line)
        document += L"line " + std::to_wstring(line) + L"\r\n";
    document += L"last";
    setDocument(document);
    const struct {
        std::wstring typed;
        int line; // 1-based
    } rows[] = {{L"1", 1}, {L"250", 250}, {L" 301 ", 301}, {L"0007", 7}};
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "'" << row.typed << "'");
        goTo(row.typed);
        const int start = int(SendMessageW(edit(), EM_LINEINDEX, WPARAM(row.line - 1), 0));
        expectSelected(start, start);
        EXPECT_TRUE(windowsOfClass(goToWindowClassName).empty());
        EXPECT_EQ(GetFocus(), edit());
        const int first = firstVisibleLine(edit());
        EXPECT_LE(first, row.line - 1);
        EXPECT_GT(first + visibleLineCount(edit()), row.line - 1);
    }
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(GoToLineTest, ANumberOutOfRangeOrJunkIsToldInPlainWordsAndTheWindowStays)
{
    setDocument(L"one\r\ntwo\r\nthree");
    caretAt(2);
    const struct {
        std::wstring typed;
        std::wstring told;
    } rows[] = {
        {L"4", L"This document has 3 lines, so there is no line 4. Type a number from 1 to 3."},
        {L"0", L"This document has 3 lines, so there is no line 0. Type a number from 1 to 3."},
        {L"99999999999999999999", L"This document has 3 lines, so there is no line "
                                  L"99999999999999999999. Type a number from 1 to 3."},
        {L"two", L"\"two\" is not a line number. Type a number from 1 to 3."},
        {L"-1", L"\"-1\" is not a line number. Type a number from 1 to 3."},
        {L"2x", L"\"2x\" is not a line number. Type a number from 1 to 3."},
        {L"", L"Type a number from 1 to 3."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "'" << row.typed << "'");
        answerMessageBox(IDOK);
        goTo(row.typed);
        ASSERT_FALSE(shownBoxes().empty());
        EXPECT_EQ(shownBoxes().back().text, row.told);
        HWND window = onlyWindowOf(goToWindowClassName);
        EXPECT_EQ(shownBoxes().back().owner, window);
        EXPECT_EQ(GetFocus(), GetDlgItem(window, goToLineEditId)) << "ready for another number";
        expectSelected(2, 2);
    }
}

TEST_F(GoToLineTest, EnterGoesAndEscapeCloses)
{
    setDocument(L"one\r\ntwo");
    HWND window = openGoTo();
    HWND box = GetDlgItem(window, goToLineEditId);
    typeText(box, L"2");
    pressKey(box, VK_RETURN);
    processEvents();
    expectSelected(5, 5);
    window = openGoTo();
    pressKey(GetDlgItem(window, goToLineEditId), VK_ESCAPE);
    processEvents();
    EXPECT_FALSE(IsWindow(window));
    expectSelected(5, 5);
}

} // namespace
