// The multi-line edit control as a screen reader reads it: its text by ranges, the caret and the
// selection, words and lines around an offset, and the events that tell of edits and moves.
#include "platform/qt/accessibility/accessible_text_view_p.h"
#include "platform/qt/accessibility/text_items_p.h"
#include "platform/qt/hooks_p.h"
#include "platform/qt/windows/window_p.h"
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/parent_window.h"

#include <QAccessible>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace seam = platform::testing;

namespace {

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// What a screen reader was sent, as plain values.
struct Told {
    QAccessible::Event type;
    int position = -1; // the caret, or where the text changed
    QString removed;
    QString inserted;
    int selectionStart = -1;
    int selectionEnd = -1;
};

std::vector<Told> told;

Told caret(int position)
{
    return {QAccessible::TextCaretMoved, position, {}, {}, -1, -1};
}

Told selected(int start, int end)
{
    return {QAccessible::TextSelectionChanged, -1, {}, {}, start, end};
}

Told changed(QAccessible::Event type, int position, const QString& removed, const QString& inserted)
{
    return {type, position, removed, inserted, -1, -1};
}

void record(QAccessibleEvent* event)
{
    Told entry = changed(event->type(), -1, {}, {});
    switch (event->type()) {
    case QAccessible::TextCaretMoved:
        entry.position = static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition();
        break;
    case QAccessible::TextSelectionChanged: {
        auto* selection = static_cast<QAccessibleTextSelectionEvent*>(event);
        entry.selectionStart = selection->selectionStart();
        entry.selectionEnd = selection->selectionEnd();
        break;
    }
    case QAccessible::TextInserted: {
        auto* inserted = static_cast<QAccessibleTextInsertEvent*>(event);
        entry.position = inserted->changePosition();
        entry.inserted = inserted->textInserted();
        break;
    }
    case QAccessible::TextRemoved: {
        auto* removed = static_cast<QAccessibleTextRemoveEvent*>(event);
        entry.position = removed->changePosition();
        entry.removed = removed->textRemoved();
        break;
    }
    case QAccessible::TextUpdated: {
        auto* updated = static_cast<QAccessibleTextUpdateEvent*>(event);
        entry.position = updated->changePosition();
        entry.removed = updated->textRemoved();
        entry.inserted = updated->textInserted();
        break;
    }
    default:
        return;
    }
    told.push_back(entry);
}

class AccessibleTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = showParentWindow(parentProc, L"Accessible text test window");
        edit_ = CreateWindowExW(0, L"edit", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 4,
                                4, 380, 260, parent_, nullptr, nullptr, nullptr);
        SetFocus(edit_);
        told.clear();
    }
    void TearDown() override
    {
        platform::screenReaderHook = nullptr;
        DestroyWindow(parent_);
    }

    QAccessibleInterface* accessible() const
    {
        return QAccessible::queryAccessibleInterface(edit_->widget.data());
    }
    QAccessibleTextInterface* textOf() const { return accessible()->textInterface(); }
    void setText(const std::wstring& text) { SetWindowTextW(edit_, text.c_str()); }
    void select(int start, int end) { SendMessageW(edit_, EM_SETSEL, WPARAM(start), end); }
    // A screen reader starts listening from here on.
    void listen()
    {
        platform::screenReaderHook = record;
        told.clear();
    }

    HWND parent_ = nullptr;
    HWND edit_ = nullptr;
};

// "one two" 0..7, CR LF, "three" 9..14, CR LF, "" 16, CR LF, "four five" 18..27.
const std::wstring fourLines = L"one two\r\nthree\r\n\r\nfour five";

TEST_F(AccessibleTextTest, TheTextCaretAndSelectionAreReadAsTheControlHasThem)
{
    setText(fourLines);
    ASSERT_TRUE(accessible());
    EXPECT_EQ(accessible()->role(), QAccessible::EditableText);
    EXPECT_TRUE(accessible()->state().multiLine);
    EXPECT_TRUE(accessible()->state().editable);
    EXPECT_TRUE(accessible()->editableTextInterface());
    QAccessibleTextInterface* text = textOf();
    ASSERT_TRUE(text);
    EXPECT_EQ(text->characterCount(), 27);
    EXPECT_EQ(text->text(0, 3), "one");
    EXPECT_EQ(text->text(18, -1), "four five");
    EXPECT_EQ(text->text(20, 500), "ur five");
    EXPECT_EQ(text->text(7, 9), "\r\n");
    EXPECT_EQ(text->selectionCount(), 0);
    EXPECT_EQ(text->cursorPosition(), 0);

    select(4, 12);
    int start = -1, end = -1;
    EXPECT_EQ(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 12);
    EXPECT_EQ(text->cursorPosition(), 12);

    text->setCursorPosition(20);
    EXPECT_EQ(seam::selection(edit_).start, 20);
    EXPECT_EQ(seam::selection(edit_).end, 20);
    text->setSelection(0, 0, 3);
    EXPECT_EQ(seam::selection(edit_).end, 3);
}

TEST_F(AccessibleTextTest, CharactersWordsAndLinesAroundAnOffset)
{
    setText(L"  " + fourLines);
    const int shift = 2; // the two blanks in front
    struct Row {
        const char* name;
        int offset;
        QAccessible::TextBoundaryType boundary;
        QString at, before, after;
        int atStart, atEnd;
    };
    const Row rows[] = {
        {"a character", shift + 1, QAccessible::CharBoundary, "n", "o", "e", shift + 1, shift + 2},
        {"the end has no character", shift + 27, QAccessible::CharBoundary, "", "e", "", shift + 27,
         shift + 27},
        {"a word takes the blanks after it", shift + 1, QAccessible::WordBoundary, "one ", "  ",
         "two\r\n", shift, shift + 4},
        {"blanks at the start are an item", 1, QAccessible::WordBoundary, "  ", "", "one ", 0,
         shift},
        {"a word at a line's end takes the line breaks after it", shift + 5,
         QAccessible::WordBoundary, "two\r\n", "one ", "three\r\n\r\n", shift + 4, shift + 9},
        {"the last word", shift + 26, QAccessible::WordBoundary, "five", "four ", "", shift + 23,
         shift + 27},
        {"a line takes its CR LF", shift + 11, QAccessible::LineBoundary, "three\r\n",
         "  one two\r\n", "\r\n", shift + 9, shift + 16},
        {"an empty line", shift + 16, QAccessible::LineBoundary, "\r\n", "three\r\n", "four five",
         shift + 16, shift + 18},
        {"the last line, from its end", shift + 27, QAccessible::LineBoundary, "", "four five", "",
         shift + 27, shift + 27},
        {"a paragraph is a line", shift + 20, QAccessible::ParagraphBoundary, "four five", "\r\n",
         "", shift + 18, shift + 27},
    };
    QAccessibleTextInterface* text = textOf();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        int start = -1, end = -1;
        EXPECT_EQ(text->textAtOffset(row.offset, row.boundary, &start, &end), row.at);
        EXPECT_EQ(start, row.atStart);
        EXPECT_EQ(end, row.atEnd);
        EXPECT_EQ(text->textBeforeOffset(row.offset, row.boundary, &start, &end), row.before);
        EXPECT_EQ(text->textAfterOffset(row.offset, row.boundary, &start, &end), row.after);
    }
}

// Offsets count characters, as the control's positions do: a character beyond the 16-bit range
// is one offset, though Qt's string holds it in two units.
TEST_F(AccessibleTextTest, ACharacterBeyondSixteenBitsIsOneOffset)
{
    setText(L"a\U0001F600b");
    QAccessibleTextInterface* text = textOf();
    EXPECT_EQ(text->characterCount(), 3);
    EXPECT_EQ(text->text(1, 2), QString::fromUcs4(U"\U0001F600"));
    int start = -1, end = -1;
    EXPECT_EQ(text->textAtOffset(2, QAccessible::CharBoundary, &start, &end), "b");
    select(2, 2);
    EXPECT_EQ(text->cursorPosition(), 2);
}

TEST_F(AccessibleTextTest, EditingThroughTheInterfaceIsAnEditTheUserCouldMake)
{
    setText(fourLines);
    QAccessibleEditableTextInterface* editable = accessible()->editableTextInterface();
    editable->replaceText(4, 7, "2");
    editable->insertText(0, "0 ");
    editable->deleteText(2, 6);
    wchar_t buffer[64] = {};
    GetWindowTextW(edit_, buffer, 64);
    EXPECT_STREQ(buffer, L"0 2\r\nthree\r\n\r\nfour five");

    HWND readOnly = CreateWindowExW(0, L"edit", L"kept", WS_CHILD | ES_MULTILINE | ES_READONLY, 0,
                                    0, 100, 100, parent_, nullptr, nullptr, nullptr);
    QAccessibleInterface* kept = QAccessible::queryAccessibleInterface(readOnly->widget.data());
    kept->editableTextInterface()->insertText(0, "refused ");
    GetWindowTextW(readOnly, buffer, 64);
    EXPECT_STREQ(buffer, L"kept");
    EXPECT_TRUE(kept->state().readOnly);
    EXPECT_FALSE(kept->state().editable);
}

TEST_F(AccessibleTextTest, EditsAndMovesAreToldWhileAScreenReaderListens)
{
    setText(L"ab");
    select(2, 2);
    listen();
    seam::typeText(edit_, L"c");
    seam::pressKey(edit_, VK_BACK);
    seam::pressKey(edit_, VK_LEFT, MOD_SHIFT);
    seam::pressKey(edit_, VK_HOME);
    select(1, 2);
    SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"xy"));
    SendMessageW(edit_, EM_UNDO, 0, 0);
    setText(L"new");

    const std::vector<Told> expected = {
        changed(QAccessible::TextInserted, 2, "", "c"),
        caret(3),
        changed(QAccessible::TextRemoved, 2, "c", ""),
        caret(2),
        selected(1, 2),
        caret(1),
        selected(0, 0),
        caret(0),
        selected(1, 2),
        caret(2),
        changed(QAccessible::TextUpdated, 1, "b", "xy"),
        selected(3, 3),
        caret(3),
        changed(QAccessible::TextUpdated, 1, "xy", "b"),
        selected(1, 2),
        caret(2),
        changed(QAccessible::TextUpdated, 0, "ab", "new"),
        selected(0, 0),
        caret(0),
    };
    ASSERT_EQ(told.size(), expected.size());
    for (std::size_t i = 0; i < told.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(told[i].type, expected[i].type);
        EXPECT_EQ(told[i].position, expected[i].position);
        EXPECT_EQ(told[i].removed, expected[i].removed);
        EXPECT_EQ(told[i].inserted, expected[i].inserted);
        EXPECT_EQ(told[i].selectionStart, expected[i].selectionStart);
        EXPECT_EQ(told[i].selectionEnd, expected[i].selectionEnd);
    }
}

// A gigabyte's document must read as fast as a short one: every answer reads only the characters
// it gives back, words and lines longer than a part come in parts, and a long edit is told
// without its characters.
TEST_F(AccessibleTextTest, ALongDocumentIsReadOnlyWhereAsked)
{
    std::wstring longLine(3 * platform::longestItem + 100, L'x');
    const std::wstring document = L"short line\r\n" + longLine + L"\r\nlast";
    listen();
    setText(document);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].type, QAccessible::TextUpdated);
    EXPECT_EQ(told[0].removed, "");
    EXPECT_EQ(told[0].inserted, "");

    QAccessibleTextInterface* text = textOf();
    const std::size_t readBefore = platform::accessibleCharactersRead();
    std::size_t given = 0;
    int start = -1, end = -1;
    EXPECT_EQ(text->characterCount(), int(document.size()));
    given += text->textAtOffset(5, QAccessible::LineBoundary, &start, &end).size();
    const int middle = 12 + int(longLine.size() / 2);
    const QString part = text->textAtOffset(middle, QAccessible::LineBoundary, &start, &end);
    given += part.size();
    EXPECT_EQ(part.size(), qsizetype(platform::longestItem));
    EXPECT_TRUE(start <= middle && middle < end);
    given += text->textAfterOffset(middle, QAccessible::LineBoundary, &start, &end).size();
    EXPECT_EQ(start, end - qsizetype(platform::longestItem));
    given += text->textAtOffset(middle, QAccessible::WordBoundary, &start, &end).size();
    EXPECT_LE(end - start, int(2 * platform::longestItem + 1));
    given += text->text(int(document.size()) - 4, -1).size();
    EXPECT_EQ(platform::accessibleCharactersRead() - readBefore, given);

    select(0, -1);
    told.clear();
    seam::pressKey(edit_, VK_DELETE);
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told[0].type, QAccessible::TextUpdated);
    EXPECT_EQ(told[0].removed, "");
}

} // namespace
