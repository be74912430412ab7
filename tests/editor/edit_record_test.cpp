// The document's record of its edits: how changes join into the steps a user undoes, what a new
// edit after undoing drops, the saved point, and the bound on its memory.
#include "editor/edit_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Applies a change to a text as the control would.
void change(std::wstring& text, const TextChange& made)
{
    ASSERT_EQ(text.substr(made.position, made.removed.size()), made.removed);
    text.replace(made.position, made.removed.size(), made.inserted);
}

struct Typist {
    std::wstring text;
    EditRecord record;
    unsigned long time = 1000;

    void make(TextChange made, EditRecord::Kind kind, unsigned long after = 10)
    {
        time += after;
        change(text, made);
        record.note(std::move(made), kind, time);
    }
    void type(std::size_t at, const std::wstring& typed)
    {
        for (std::size_t i = 0; i < typed.size(); ++i)
            make({at + i, L"", typed.substr(i, 1)}, EditRecord::Kind::typing);
    }
    void undo() { change(text, record.undo()); }
    void redo() { change(text, record.redo()); }
};

TEST(EditRecord, TypingIsOneStepPerWordAndPauseAndErasingOnePerRun)
{
    Typist t;
    t.type(0, L"one two");
    t.make({7, L"", L"x"}, EditRecord::Kind::typing, EditRecord::pause + 1);
    EXPECT_EQ(t.text, L"one twox");
    EXPECT_EQ(t.record.steps(), 3u) << "\"one \", \"two\", and \"x\" after a pause";
    t.make({7, L"x", L""}, EditRecord::Kind::erasing);
    t.make({6, L"o", L""}, EditRecord::Kind::erasing);
    t.make({6, L"", L""}, EditRecord::Kind::erasing);
    EXPECT_EQ(t.record.steps(), 4u) << "Backspaces run together";
    t.undo();
    EXPECT_EQ(t.text, L"one twox");
    t.undo();
    t.undo();
    EXPECT_EQ(t.text, L"one ");
    t.undo();
    EXPECT_EQ(t.text, L"");
    EXPECT_FALSE(t.record.canUndo());
    for (int i = 0; i < 4; ++i)
        t.redo();
    EXPECT_EQ(t.text, L"one tw");
    EXPECT_FALSE(t.record.canRedo());

    // Delete runs on from the same place; a paste stands alone.
    Typist d;
    d.text = L"abcdef";
    d.make({1, L"b", L""}, EditRecord::Kind::erasing);
    d.make({1, L"c", L""}, EditRecord::Kind::erasing);
    d.make({1, L"", L"XY"}, EditRecord::Kind::other);
    d.make({3, L"", L"Z"}, EditRecord::Kind::other);
    EXPECT_EQ(d.text, L"aXYZdef");
    EXPECT_EQ(d.record.steps(), 3u);
    d.undo();
    d.undo();
    d.undo();
    EXPECT_EQ(d.text, L"abcdef");
}

TEST(EditRecord, ANewEditAfterUndoingDropsWhatWasUndoneAndTheSavedPointIsKnown)
{
    Typist t;
    t.type(0, L"saved ");
    t.record.markSaved();
    EXPECT_TRUE(t.record.atSaved());
    t.type(6, L"more");
    EXPECT_FALSE(t.record.atSaved());
    EXPECT_EQ(t.record.steps(), 2u) << "typing after a save starts a step of its own";
    t.undo();
    EXPECT_TRUE(t.record.atSaved());
    t.undo();
    EXPECT_FALSE(t.record.atSaved());
    t.redo();
    EXPECT_TRUE(t.record.atSaved());
    t.make({0, L"", L"new "}, EditRecord::Kind::other);
    EXPECT_FALSE(t.record.canRedo()) << "\"more\" can no longer be made again";
    EXPECT_EQ(t.text, L"new saved ");
    t.undo();
    EXPECT_TRUE(t.record.atSaved());

    // Undone past the saved point, a new edit leaves no way back to it.
    t.undo();
    t.make({0, L"", L"other"}, EditRecord::Kind::other);
    t.undo();
    EXPECT_FALSE(t.record.atSaved());
    t.record.clear();
    EXPECT_FALSE(t.record.canUndo());
    EXPECT_FALSE(t.record.atSaved());
}

TEST(EditRecord, TheOldestStepsGoWhenTheRecordIsFull)
{
    Typist t;
    t.record.setLimit(1000);
    const std::wstring piece(40, L'p');
    for (int i = 0; i < 20; ++i)
        t.make({t.text.size(), L"", piece}, EditRecord::Kind::other);
    EXPECT_LE(t.record.bytes(), 1000u);
    EXPECT_LT(t.record.steps(), 20u);
    EXPECT_GT(t.record.steps(), 2u);
    const std::size_t kept = t.record.steps();
    for (std::size_t i = 0; i < kept; ++i)
        t.undo();
    EXPECT_EQ(t.text.size(), (20 - kept) * piece.size()) << "the newest steps undo as ever";
    EXPECT_FALSE(t.record.atSaved()) << "the saved start went with the oldest steps";

    // A step larger than the whole bound is not kept, and takes the undone chain with it.
    t.make({0, L"", std::wstring(600, L'x')}, EditRecord::Kind::other);
    EXPECT_FALSE(t.record.canRedo());
    EXPECT_FALSE(t.record.canUndo());
    EXPECT_EQ(t.record.bytes(), 0u);
}

TEST(Substitution, TurnsTheStretchIntoTheOtherBothWays)
{
    struct Row {
        const char* what;
        std::wstring before;
        std::vector<std::size_t> places;
        std::wstring found, replacement, after;
    };
    const std::vector<Row> rows = {
        {"longer, at both ends", L"ab-Ab-ab", {0, 3, 6}, L"abAbab", L"xyz", L"xyz-xyz-xyz"},
        {"shorter", L"[ab][AB]", {1, 5}, L"abAB", L"c", L"[c][c]"},
        {"to nothing", L"aXbXc", {1, 3}, L"XX", L"", L"abc"},
        {"none", L"plain", {}, L"", L"y", L"plain"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Substitution substitution;
        substitution.places = row.places;
        substitution.found = row.found;
        substitution.foundLength = row.places.empty() ? 1 : row.found.size() / row.places.size();
        substitution.replacement = row.replacement;
        substitution.before = row.before.size();
        substitution.after = row.after.size();
        std::wstring made(row.after.size(), L'?');
        substitute(substitution, row.before, false, made.data());
        EXPECT_EQ(made, row.after);
        made.assign(row.before.size(), L'?');
        substitute(substitution, row.after, true, made.data());
        EXPECT_EQ(made, row.before) << "each as it was found";
    }
}

TEST(ChangeBetween, FindsTheOneChangeAndRefusesOneThatMayReachBeyondTheCopy)
{
    struct Row {
        const char* what;
        std::wstring before, after;
        std::size_t prefixLimit;
        bool openStart, openEnd;
        bool found;
        std::size_t position;
        std::wstring removed, inserted;
    };
    const std::vector<Row> rows = {
        {"typed", L"abc", L"abXc", 2, true, true, true, 12, L"", L"X"},
        {"typed where the same letter stood: at the caret", L"aab", L"aaab", 1, true, true, true,
         11, L"", L"a"},
        {"a CR LF erased", L"ab\r\ncd", L"abcd", 4, true, true, true, 12, L"\r\n", L""},
        {"a selection replaced", L"a[sel]b", L"axb", 1, false, false, true, 11, L"[sel]", L"x"},
        {"the change starts at an open start", L"abc", L"Xbc", 0, true, false, false, 0, L"", L""},
        {"the change ends at an open end", L"abc", L"abX", 3, false, true, false, 0, L"", L""},
        {"at the text's very start", L"abc", L"Xbc", 0, false, true, true, 10, L"a", L"X"},
        {"nothing changed", L"abc", L"abc", 1, true, true, true, 11, L"", L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto change =
            changeBetween(row.before, row.after, 10, row.prefixLimit, row.openStart, row.openEnd);
        ASSERT_EQ(change.has_value(), row.found);
        if (!change)
            continue;
        EXPECT_EQ(change->position, row.position);
        EXPECT_EQ(change->removed, row.removed);
        EXPECT_EQ(change->inserted, row.inserted);
    }
}

} // namespace
