// Undo and Redo as the user drives them: every way the text changes is a step that Undo takes
// back and Redo makes again, the saved point brings the title's "*" back and forth, and after any
// run of edits, undoing all of them gives the opened text back, byte for byte.
#include "app/commands.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "tests/support/editor_test.h"

#include <random>
#include <string>
#include <vector>

using namespace platform::testing;

namespace {

class UndoTest : public EditorTest {
protected:
    HWND edit() const { return Editor.editControl; }
    void press(int key, UINT modifiers = 0) { pressKey(edit(), key, modifiers); }
    void undo() { press('Z', MOD_CONTROL); }
    void redo() { press('Y', MOD_CONTROL); }
    void select(std::size_t start, std::size_t end)
    {
        SendMessageW(edit(), EM_SETSEL, WPARAM(start), LPARAM(end));
    }
    std::pair<DWORD, DWORD> selected()
    {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
};

TEST_F(UndoTest, ThreeWordsWithACaretMoveBetweenUndoAndRedoOneByOne)
{
    SetFocus(edit());
    type(L"one ");
    type(L"two");
    press(VK_HOME);
    type(L"zero ");
    EXPECT_EQ(text(), L"zero one two");
    undo();
    EXPECT_EQ(text(), L"one two");
    undo();
    EXPECT_EQ(text(), L"one ");
    EXPECT_EQ(selected(), std::make_pair(DWORD(4), DWORD(4)));
    undo();
    EXPECT_EQ(text(), L"");
    undo();
    EXPECT_EQ(text(), L"") << "nothing more to undo";
    redo();
    redo();
    EXPECT_EQ(text(), L"one two");
    EXPECT_EQ(selected(), std::make_pair(DWORD(4), DWORD(7))) << "what Redo put in is selected";
    press('Z', MOD_CONTROL | MOD_SHIFT);
    EXPECT_EQ(text(), L"zero one two") << "Ctrl+Shift+Z redoes too";
}

TEST_F(UndoTest, EachWayOfChangingTheTextIsAStepOfItsOwn)
{
    SetWindowTextW(edit(), L"alpha beta gamma\r\ndelta");
    SetFocus(edit());
    const std::vector<std::wstring> expected = [&] {
        std::vector<std::wstring> texts{text()};
        select(16, 16);
        press(VK_BACK); // the a of gamma
        press(VK_BACK);
        texts.push_back(text()); // one run of Backspace
        press(VK_BACK, MOD_CONTROL);
        texts.push_back(text()); // a word
        select(0, 6);
        press(VK_DELETE);
        texts.push_back(text()); // a selection deleted
        setClipboardText(L"pasted\nline ");
        press('V', MOD_CONTROL);
        texts.push_back(text());
        select(0, 6);
        press('X', MOD_CONTROL);
        texts.push_back(text());
        press(VK_INSERT, MOD_SHIFT);
        texts.push_back(text());
        select(0, 0);
        press(VK_DELETE, MOD_CONTROL);
        texts.push_back(text()); // the next word
        press(VK_RETURN);
        texts.push_back(text());
        SendMessageW(edit(), WM_CLEAR, 0, 0); // nothing selected: no change
        select(1, 3);
        SendMessageW(edit(), EM_REPLACESEL, TRUE, LPARAM(L"[replaced]"));
        texts.push_back(text());
        return texts;
    }();
    for (std::size_t i = expected.size() - 1; i > 0; --i) {
        ASSERT_EQ(text(), expected[i]) << "before undo " << i;
        SendMessageW(edit(), WM_UNDO, 0, 0);
    }
    EXPECT_EQ(text(), expected[0]);
    EXPECT_EQ(SendMessageW(edit(), EM_CANUNDO, 0, 0), FALSE);
    for (std::size_t i = 1; i < expected.size(); ++i) {
        command(commandRedo);
        EXPECT_EQ(text(), expected[i]) << "after redo " << i;
    }
}

TEST_F(UndoTest, UndoingToTheSavedTextTakesTheStarAwayAndRedoBringsItBack)
{
    writeFileBytes("notes.txt", "saved\r\n");
    open("notes.txt");
    SetFocus(edit());
    press(VK_END, MOD_CONTROL);
    type(L"more");
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
    undo();
    EXPECT_EQ(text(), L"saved\r\n");
    EXPECT_EQ(title(), L"notes.txt - Quenwrite");
    EXPECT_TRUE(Document.saved());
    redo();
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
    command(commandSave);
    undo();
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite") << "the saved text now has \"more\"";
    redo();
    EXPECT_EQ(title(), L"notes.txt - Quenwrite");

    // A chosen encoding is a change no Undo takes back.
    undo();
    command(commandEncoding + int(Encoding::utf16Le));
    redo();
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
}

TEST_F(UndoTest, TheShortcutMenuAndTheEditMenuOfferWhatCanBeDone)
{
    SetFocus(edit());
    type(L"word");
    const auto offered = [&] {
        SendMessageW(edit(), WM_CONTEXTMENU, WPARAM(edit()), LPARAM(-1));
        std::vector<std::wstring> enabled;
        for (const ShownMenuItem& item : lastPopup()) {
            if (item.enabled)
                enabled.push_back(item.text);
        }
        return enabled;
    };
    EXPECT_EQ(offered(), (std::vector<std::wstring>{L"&Undo", L"&Paste", L"Select &all"}));
    choosePopupItem(commandUndo);
    offered();
    EXPECT_EQ(text(), L"");
    EXPECT_EQ(offered(), (std::vector<std::wstring>{L"Re&do", L"&Paste", L"Select &all"}));
    choosePopupItem(commandRedo);
    offered();
    select(0, 2);
    choosePopupItem(commandCut);
    offered();
    EXPECT_EQ(text(), L"rd");
    undo();
    EXPECT_EQ(text(), L"word");
}

// Random edits of every kind, from a text with CR LF, tabs and surrogate pairs: undoing all of
// them gives the first text back and redoing all gives the last, and no change escaped the record.
TEST_F(UndoTest, AnyRunOfEditsUndoesToTheFirstTextAndRedoesToTheLast)
{
    std::mt19937 random(20261210);
    const std::wstring pieces[] = {L"word", L" ", L"\r\n", L"\t", L"\xD83D\xDE00", L"é", L"x"};
    std::wstring start;
    for (int i = 0; i < 200; ++i)
        start += pieces[random() % std::size(pieces)];
    SetWindowTextW(edit(), start.c_str());
    SetFocus(edit());
    for (int step = 0; step < 1000; ++step) {
        const std::size_t length = text().size();
        const std::size_t a = random() % (length + 1);
        const std::size_t b = random() % 3 == 0 ? std::min(length, a + random() % 12) : a;
        select(a, b);
        switch (random() % 9) {
        case 0:
            type(pieces[random() % std::size(pieces)]);
            break;
        case 1:
            press(VK_BACK);
            break;
        case 2:
            press(VK_DELETE);
            break;
        case 3:
            press(random() % 2 ? VK_BACK : VK_DELETE, MOD_CONTROL);
            break;
        case 4:
            press(VK_RETURN);
            break;
        case 5:
            setClipboardText(L"clip\nboard");
            press('V', MOD_CONTROL);
            break;
        case 6:
            press('X', MOD_CONTROL);
            break;
        case 7:
            SendMessageW(edit(), EM_REPLACESEL, TRUE, LPARAM(L"re\r\nplaced"));
            break;
        default:
            undo();
            break;
        }
        // Only a surrogate pair split by a selection may break the text; never the record.
        ASSERT_TRUE(Document.edits().canUndo() || Document.edits().canRedo()) << "step " << step;
    }
    const std::wstring last = text();
    int undone = 0;
    while (Document.edits().canUndo()) {
        undo();
        ++undone;
    }
    EXPECT_GT(undone, 300);
    EXPECT_GT(last.size(), start.size() / 2) << "the edits kept the text large";
    EXPECT_EQ(text(), start) << "after " << undone << " undos";
    while (Document.edits().canRedo())
        redo();
    EXPECT_EQ(text(), last);
}

} // namespace
