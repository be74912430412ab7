// The edit control's model: the undo that toggles and merges as the user sees edits, the typing
// limit for typing and paste, Backspace and Delete over line breaks and words, and caret steps.
#include "platform/text/edit_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using platform::EditModel;
using Fit = platform::EditModel::Fit;

namespace {

std::wstring textOf(const EditModel& model)
{
    return model.text().text(0, model.text().size());
}

void type(EditModel& model, const std::wstring& text)
{
    for (wchar_t c : text)
        model.replaceSelection(std::wstring(1, c), Fit::whole);
}

} // namespace

TEST(EditModelTest, UndoTakesBackOneEditAsTheUserSawItAndASecondUndoRedoes)
{
    const struct {
        const char* name;
        std::wstring text;
        std::function<void(EditModel&)> edits;
        std::wstring edited;
        std::wstring undone;
        std::size_t selectedFrom, selectedTo; // after the undo
    } cases[] = {
        {"typed characters merge", L"x",
         [](EditModel& m) {
             m.moveCaret(1, false);
             type(m, L"abc");
         },
         L"xabc", L"x", 1, 1},
        {"Enter merges with the typing", L"", [](EditModel& m) { type(m, L"a\r\nb"); }, L"a\r\nb",
         L"", 0, 0},
        {"typing elsewhere starts over", L"",
         [](EditModel& m) {
             type(m, L"ab");
             m.moveCaret(0, false);
             type(m, L"c");
         },
         L"cab", L"ab", 0, 0},
        {"typing over a selection puts the selection back", L"hello",
         [](EditModel& m) {
             m.select(1, 4);
             type(m, L"ip");
         },
         L"hipo", L"hello", 1, 4},
        {"Backspaces merge", L"abcd",
         [](EditModel& m) {
             m.moveCaret(4, false);
             m.eraseBackward(false);
             m.eraseBackward(false);
         },
         L"ab", L"abcd", 2, 4},
        {"Deletes merge", L"abcd",
         [](EditModel& m) {
             m.moveCaret(1, false);
             m.eraseForward(false);
             m.eraseForward(false);
         },
         L"ad", L"abcd", 1, 3},
        {"Backspace after typing is an edit of its own", L"",
         [](EditModel& m) {
             type(m, L"abc");
             m.eraseBackward(false);
         },
         L"ab", L"abc", 2, 3},
        {"Delete after Backspace is an edit of its own", L"abcd",
         [](EditModel& m) {
             m.moveCaret(2, false);
             m.eraseBackward(false);
             m.eraseForward(false);
         },
         L"ad", L"acd", 1, 2},
        {"paste is an edit of its own", L"",
         [](EditModel& m) {
             type(m, L"ab");
             m.replaceSelection(L"cd", Fit::truncate);
             type(m, L"e");
         },
         L"abcde", L"abcd", 4, 4},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EditModel model;
        model.setText(row.text);
        row.edits(model);
        ASSERT_EQ(textOf(model), row.edited);
        ASSERT_TRUE(model.canUndo());
        model.undo();
        EXPECT_EQ(textOf(model), row.undone);
        EXPECT_EQ(model.selectionStart(), row.selectedFrom);
        EXPECT_EQ(model.selectionEnd(), row.selectedTo);
        model.undo();
        EXPECT_EQ(textOf(model), row.edited) << "a second undo redoes";
        model.undo();
        EXPECT_EQ(textOf(model), row.undone) << "and a third undoes again";
    }
}

TEST(EditModelTest, SetTextLeavesNothingToUndo)
{
    EditModel model;
    type(model, L"abc");
    model.select(1, 2);
    model.setText(L"new\r\ntext");
    EXPECT_FALSE(model.canUndo());
    EXPECT_EQ(model.caret(), 0u);
    EXPECT_FALSE(model.hasSelection());
    model.undo();
    EXPECT_EQ(textOf(model), L"new\r\ntext");
}

// Undo of a deleted text keeps pieces, not a copy; putting back a large text must give it whole.
TEST(EditModelTest, UndoingTheDeletionOfALargeTextGivesItBack)
{
    std::wstring text;
    for (int line = 0; line < 20000; ++line)
        text += L"line " + std::to_wstring(line) + L"\r\n";
    EditModel model;
    model.setText(text);
    model.select(0, text.size());
    model.eraseBackward(false);
    EXPECT_EQ(model.text().size(), 0u);
    EXPECT_EQ(model.text().lineCount(), 1u);
    model.undo();
    EXPECT_EQ(textOf(model), text);
    EXPECT_EQ(model.text().lineCount(), 20001u);
    EXPECT_EQ(model.selectionEnd(), text.size());
}

TEST(EditModelTest, TheLimitRefusesTypingWholeAndCutsPasteBeforeALineBreak)
{
    const struct {
        const char* name;
        std::wstring text;
        std::size_t limit, anchor, caret;
        std::wstring inserted;
        Fit fit;
        bool fits;
        std::wstring expected;
    } cases[] = {
        {"typing that fits", L"ab", 3, 2, 2, L"c", Fit::whole, true, L"abc"},
        {"typing at the limit", L"abc", 3, 3, 3, L"d", Fit::whole, false, L"abc"},
        {"Enter needs room for both", L"ab", 3, 2, 2, L"\r\n", Fit::whole, false, L"ab"},
        {"the selection makes room", L"abc", 3, 1, 3, L"xy", Fit::whole, true, L"axy"},
        {"paste cut to the room", L"ab", 5, 2, 2, L"cdefg", Fit::truncate, false, L"abcde"},
        {"paste never ends in half a pair", L"ab", 4, 2, 2, L"c\r\nd", Fit::truncate, false,
         L"abc"},
        {"paste of only a line break", L"ab", 3, 2, 2, L"\r\n", Fit::truncate, false, L"ab"},
        {"paste over a selection", L"abcd", 4, 1, 3, L"xyz", Fit::truncate, false, L"axyd"},
        {"paste of nothing that fits keeps the selection", L"abcd", 2, 1, 2, L"xy", Fit::truncate,
         false, L"abcd"},
        {"over the limit, typing is refused", L"abcdef", 3, 6, 6, L"g", Fit::whole, false,
         L"abcdef"},
        {"over the limit, a selection can still be replaced", L"abcdef", 3, 0, 4, L"x", Fit::whole,
         true, L"xef"},
        {"EM_REPLACESEL is not limited", L"abc", 3, 3, 3, L"de", Fit::unlimited, true, L"abcde"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EditModel model;
        model.setText(row.text);
        model.setLimit(row.limit);
        model.select(row.anchor, row.caret);
        model.takeChanged();
        EXPECT_EQ(model.replaceSelection(row.inserted, row.fit), row.fits);
        EXPECT_EQ(textOf(model), row.expected);
        EXPECT_EQ(model.takeChanged(), row.expected != row.text);
        EXPECT_FALSE(model.takeChanged()) << "only once";
    }
}

TEST(EditModelTest, TextOverTheLimitCanBeDeletedFrom)
{
    EditModel model;
    model.setText(L"abcdef");
    model.setLimit(2);
    model.moveCaret(6, false);
    model.eraseBackward(false);
    model.moveCaret(0, false);
    model.eraseForward(false);
    EXPECT_EQ(textOf(model), L"bcde");
}

TEST(EditModelTest, BackspaceAndDeleteTakeALineBreakOrAWordAsOneStep)
{
    const struct {
        const char* name;
        std::wstring text;
        std::size_t caret;
        bool forward, word;
        std::wstring expected;
        std::size_t caretAfter;
    } cases[] = {
        {"Backspace over CR LF", L"ab\r\ncd", 4, false, false, L"abcd", 2},
        {"Delete over CR LF", L"ab\r\ncd", 2, true, false, L"abcd", 2},
        {"Backspace over a lone LF", L"ab\ncd", 3, false, false, L"abcd", 2},
        {"Delete of a lone CR", L"ab\rcd", 2, true, false, L"abcd", 2},
        {"Backspace between CR and LF takes the CR", L"ab\r\ncd", 3, false, false, L"ab\ncd", 2},
        {"Backspace at the start", L"ab", 0, false, false, L"ab", 0},
        {"Delete at the end", L"ab", 2, true, false, L"ab", 2},
        {"Ctrl+Backspace to the word start", L"one two", 6, false, true, L"one o", 4},
        {"Ctrl+Backspace over blanks", L"one two  ", 9, false, true, L"one ", 4},
        {"Ctrl+Delete to the next word", L"one two", 1, true, true, L"otwo", 1},
        {"Ctrl+Delete over a line break", L"one\r\ntwo", 3, true, true, L"onetwo", 3},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EditModel model;
        model.setText(row.text);
        model.moveCaret(row.caret, false);
        model.takeChanged();
        if (row.forward)
            model.eraseForward(row.word);
        else
            model.eraseBackward(row.word);
        EXPECT_EQ(textOf(model), row.expected);
        EXPECT_EQ(model.caret(), row.caretAfter);
        EXPECT_EQ(model.takeChanged(), row.expected != row.text);
    }
}

TEST(EditModelTest, TypingBetweenCrAndLfSplitsThePair)
{
    EditModel model;
    model.setText(L"ab\r\ncd");
    model.select(3, 3);
    type(model, L"x");
    EXPECT_EQ(textOf(model), L"ab\rx\ncd");
    EXPECT_EQ(model.text().lineCount(), 1u);
    model.undo();
    EXPECT_EQ(model.text().lineCount(), 2u);
}

TEST(EditModelTest, CaretStepsOverLineBreaksAndWords)
{
    EditModel model;
    model.setText(L"one  two\r\n\tthree\rx\n");
    // o0 n1 e2 _3 _4 t5 w6 o7 CR8 LF9 TAB10 t11 h12 r13 e14 e15 CR16 x17 LF18, size 19
    const struct {
        std::size_t position, previous, next, previousWord, nextWord, wordStart, wordEnd;
    } cases[] = {
        {0, 0, 1, 0, 5, 0, 3},        {3, 2, 4, 0, 5, 3, 5},        {8, 7, 10, 5, 11, 8, 10},
        {9, 8, 10, 5, 11, 8, 10},     {10, 8, 11, 5, 11, 10, 11},   {13, 12, 14, 11, 17, 11, 16},
        {17, 16, 18, 11, 19, 17, 18}, {19, 18, 19, 17, 19, 18, 19},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.position);
        EXPECT_EQ(model.previousPosition(row.position), row.previous);
        EXPECT_EQ(model.nextPosition(row.position), row.next);
        EXPECT_EQ(model.previousWordStart(row.position), row.previousWord);
        EXPECT_EQ(model.nextWordStart(row.position), row.nextWord);
        EXPECT_EQ(model.wordStart(row.position), row.wordStart);
        EXPECT_EQ(model.wordEnd(row.position), row.wordEnd);
    }
}
