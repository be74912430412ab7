// Files come back as they were, through the real Open and Save: every encoding and line-end form,
// the questions before a save that would change a file, the Encoding and Line ends menus, and
// typing and searching in what the user sees.
#include "app/commands.h"
#include "app/main_window.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "search/find_dialog.h"
#include "tests/support/editor_test.h"
#include "tests/support/text_corpus.h"

#include <filesystem>
#include <string>

using namespace platform::testing;

namespace {

bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

class EncodingTest : public EditorTest {
protected:
    // The text of the menu's entry that carries the bullet, or "" when none or several do.
    std::wstring bulleted(const std::wstring& menu)
    {
        std::wstring chosen;
        int count = 0;
        for (const MenuEntry& entry : openMenu(mainWindow, menu)) {
            if (entry.checked) {
                EXPECT_TRUE(entry.radio) << "a bullet, not a tick";
                chosen = entry.text;
                ++count;
            }
        }
        return count == 1 ? chosen : L"";
    }
};

TEST_F(EncodingTest, EveryFileOfTheCorpusOpensAsItsTextAndSavesBackByteForByte)
{
    int number = 0;
    for (const CorpusFile& file : textCorpus()) {
        SCOPED_TRACE(file.name);
        const std::string name = "file" + std::to_string(++number) + ".txt";
        writeFileBytes(name, file.bytes);
        open(name);
        EXPECT_EQ(text(), file.text);
        EXPECT_EQ(title(), L"file" + std::to_wstring(number) + L".txt - Quenwrite");
        EXPECT_EQ(bulleted(L"Encoding"), nameOf(file.encoding));
        EXPECT_EQ(bulleted(L"Line ends"), nameOf(file.lineEnd));
        hotKey(hotKeySave);
        EXPECT_EQ(fileBytes(name), file.bytes);
    }
    EXPECT_TRUE(shownBoxes().empty()) << lastBox();
}

TEST_F(EncodingTest, ASequenceAcrossTheReadersPiecesOpensWholeAndSavesBack)
{
    // Open converts a megabyte at a time, and reads the file in pieces of 64 MB.
    for (const std::size_t piece : {std::size_t(1) << 20, std::size_t(64) << 20}) {
        SCOPED_TRACE(piece);
        std::string bytes(piece - 1, 'a');
        bytes += "\xE2\x82\xAC\n";
        writeFileBytes("long.txt", bytes);
        open("long.txt");
        const std::wstring shown = text();
        EXPECT_EQ(shown.size(), piece + 2);
        EXPECT_EQ(shown.substr(piece - 2), L"a\u20AC\r\n");
        hotKey(hotKeySave);
        EXPECT_TRUE(fileBytes("long.txt") == bytes);
    }
}

TEST_F(EncodingTest, TypingIntoAUtf8FileWritesUtf8AndFindSearchesTheTextAsShown)
{
    writeFileBytes("names.txt", "Meyer\nM\xC3\xBCller\n");
    open("names.txt");
    SendMessageW(Editor.editControl, EM_SETSEL, 0, 0);
    type(L"\u00E9");
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("names.txt"), "\xC3\xA9Meyer\nM\xC3\xBCller\n");

    hotKey(hotKeyFind);
    HWND findWindow = windowsOfClass(FindDialog.className).at(0);
    SetWindowTextW(GetDlgItem(findWindow, 100), L"M\u00FCller");
    click(GetDlgItem(findWindow, 1));
    processEvents();
    const Selection found = selection(Editor.editControl);
    EXPECT_EQ(found.start, 8);
    EXPECT_EQ(found.end, 14);
}

TEST_F(EncodingTest, MixedLineEndsShowAsLinesAndTheFirstSaveOffersKeepingThemFirst)
{
    const std::string mixed = "a\r\nb\nc\n";
    writeFileBytes("mixed.txt", mixed);
    open("mixed.txt");
    EXPECT_EQ(text(), L"a\r\nb\r\nc\r\n");
    EXPECT_EQ(bulleted(L"Line ends"), L"LF");
    answerMessageBox(IDCANCEL);
    hotKey(hotKeySave);
    ASSERT_EQ(shownBoxes().size(), 1u);
    const ShownBox& question = shownBoxes()[0];
    for (const wchar_t* part : {L"1 CR LF and 2 LF", L"Keep them as they are", L"Yes keeps",
                                L"No saves with every line end as LF", L"Cancel saves nothing"})
        EXPECT_TRUE(contains(question.text, part)) << question.text;
    EXPECT_EQ(question.type, UINT(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(fileBytes("mixed.txt"), mixed) << "Cancel writes nothing";

    // Yes keeps each line's end, also around a changed line and after a line added at the end.
    type(L"x");
    SendMessageW(Editor.editControl, EM_SETSEL, 10, 10);
    type(L"d\n");
    answerMessageBox(IDYES);
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("mixed.txt"), "xa\r\nb\nc\nd\n");
    EXPECT_EQ(bulleted(L"Line ends"), nameOf(LineEnd::asInFile));
    type(L"y");
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("mixed.txt"), "xa\r\nb\nc\nd\ny");
    EXPECT_EQ(shownBoxes().size(), 2u) << "asked once";

    writeFileBytes("mixed.txt", mixed);
    open("mixed.txt");
    answerMessageBox(IDNO);
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("mixed.txt"), "a\nb\nc\n");
    hotKey(hotKeySave);
    EXPECT_EQ(shownBoxes().size(), 3u) << "asked once";

    // As in the file is there to choose only for a file whose line ends mix.
    chooseMenuItem(mainWindow, commandLineEnd + UINT(LineEnd::asInFile));
    processEvents();
    EXPECT_EQ(bulleted(L"Line ends"), L"LF");
    EXPECT_EQ(title(), L"mixed.txt - Quenwrite");

    // Chosen from the menu, keeping them needs no question either.
    writeFileBytes("mixed.txt", mixed);
    open("mixed.txt");
    chooseMenuItem(mainWindow, commandLineEnd + UINT(LineEnd::asInFile));
    processEvents();
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("mixed.txt"), mixed);
    EXPECT_EQ(shownBoxes().size(), 3u);

    // Choosing the form from the menu is knowing it: no notice, and the file is to change.
    writeFileBytes("mixed.txt", mixed);
    open("mixed.txt");
    chooseMenuItem(mainWindow, commandLineEnd + UINT(LineEnd::crLf));
    processEvents();
    EXPECT_EQ(title(), L"*mixed.txt - Quenwrite");
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("mixed.txt"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(shownBoxes().size(), 3u);
}

TEST_F(EncodingTest, ACharacter8BitCannotHoldIsNamedAndSavedAsUtf8OnYesOnly)
{
    writeFileBytes("notes.txt", "caf\xE9\r\n");
    open("notes.txt");
    SendMessageW(Editor.editControl, EM_SETSEL, 6, 6);
    SendMessageW(Editor.editControl, EM_REPLACESEL, TRUE, LPARAM(L"x\u65E5"));
    answerMessageBox(IDNO);
    hotKey(hotKeySave);
    const std::wstring question = lastBox();
    for (const wchar_t* part : {L"\u201C\u65E5\u201D (U+65E5)", L"line 2, column 2",
                                L"8-bit (code page 1252)", L"as UTF-8 instead"})
        EXPECT_TRUE(contains(question, part)) << question;
    EXPECT_EQ(shownBoxes().back().type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(fileBytes("notes.txt"), "caf\xE9\r\n");
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
    EXPECT_EQ(bulleted(L"Encoding"), nameOf(Encoding::eightBit));

    answerMessageBox(IDYES);
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("notes.txt"), "caf\xC3\xA9\r\nx\xE6\x97\xA5");
    EXPECT_EQ(title(), L"notes.txt - Quenwrite");
    EXPECT_EQ(bulleted(L"Encoding"), L"UTF-8");
}

TEST_F(EncodingTest, ALargeTextIsSavedInPiecesThatDoNotShowAndALateCharacterStillAsksFirst)
{
    // Save reads the text a megabyte of lines at a time: the mark comes once, and no line end
    // or character is changed where one piece meets the next.
    std::string utf16 = "\xFE\xFF";
    for (int line = 0; line < 120'000; ++line) {
        for (const char c : "line " + std::to_string(line))
            utf16 += {'\0', c};
        utf16 += line % 7 ? std::string{'\xD8', '\x3D', '\xDE', '\x00', '\0', '\n'}
                          : std::string{'\0', '\n'};
    }
    utf16 += {'\0', 'z'};
    writeFileBytes("wide.txt", utf16);
    open("wide.txt");
    hotKey(hotKeySave);
    EXPECT_TRUE(fileBytes("wide.txt") == utf16) << "the file changed when saved unchanged";

    // A character 8-bit text lacks, three megabytes in: nothing is written before the user
    // answers, and No leaves the file and its folder as they were.
    const std::string eightBit = "\xE9" + std::string((3 << 20) - 1, 'a');
    writeFileBytes("late.txt", eightBit);
    open("late.txt");
    SendMessageW(Editor.editControl, EM_SETSEL, 3 << 20, 3 << 20);
    SendMessageW(Editor.editControl, EM_REPLACESEL, TRUE, LPARAM(L"\r\n\u65E5"));
    answerMessageBox(IDNO);
    hotKey(hotKeySave);
    EXPECT_TRUE(contains(lastBox(), L"line 2, column 1")) << lastBox();
    EXPECT_TRUE(fileBytes("late.txt") == eightBit);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder()))
        ++files;
    EXPECT_EQ(files, 2u) << "wide.txt and late.txt, and no temporary file left";
    answerMessageBox(IDYES);
    hotKey(hotKeySave);
    // A file without line ends takes the system's.
    EXPECT_TRUE(fileBytes("late.txt") == "\xC3\xA9" + eightBit.substr(1) + "\n\xE6\x97\xA5");
}

TEST_F(EncodingTest, TheMenusChooseTheFormatOfTheNextSaveAndNewStartsAsUtf8WithTheSystemsLineEnds)
{
    writeFileBytes("script.sh", "#!/bin/sh\necho \xC3\xA9\n");
    open("script.sh");
    EXPECT_EQ(bulleted(L"Encoding"), L"UTF-8");
    EXPECT_EQ(bulleted(L"Line ends"), L"LF");
    chooseMenuItem(mainWindow, commandEncoding + UINT(Encoding::utf16Be));
    processEvents();
    EXPECT_EQ(title(), L"*script.sh - Quenwrite");
    EXPECT_EQ(bulleted(L"Encoding"), L"UTF-16 big-endian");
    chooseMenuItem(mainWindow, commandLineEnd + UINT(LineEnd::cr));
    processEvents();
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("script.sh"),
              std::string("\xFE\xFF\0#\0!\0/\0b\0i\0n\0/\0s\0h\0\r\0e\0c\0h\0o\0 \0\xE9\0\r", 36));
    EXPECT_EQ(title(), L"script.sh - Quenwrite");

    hotKey(hotKeyNew);
    EXPECT_EQ(bulleted(L"Encoding"), L"UTF-8");
    EXPECT_EQ(bulleted(L"Line ends"), L"LF");
    type(L"a\nb\u00E9");
    answerFileDialog(path("new.txt"));
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("new.txt"), "a\nb\xC3\xA9");
    EXPECT_TRUE(shownBoxes().empty()) << lastBox();
}

TEST_F(EncodingTest, AnAsciiFileTakesUtf8AndKeepsItsLineEndsWhileA1252FileKeeps1252)
{
    const struct {
        const char* bytes;
        const wchar_t* encoding;
        const wchar_t* lineEnds;
        std::string saved;
    } rows[] = {
        {"plain\r\ntext\r\n", L"UTF-8", L"CR LF", "\xC3\xA9plain\r\ntext\r\n"},
        {"plain\ntext\n", L"UTF-8", L"LF", "\xC3\xA9plain\ntext\n"},
        {"plain\xE9\r\n", L"8-bit (code page 1252)", L"CR LF", "\xE9plain\xE9\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes);
        writeFileBytes("file.txt", row.bytes);
        open("file.txt");
        EXPECT_EQ(bulleted(L"Encoding"), row.encoding);
        EXPECT_EQ(bulleted(L"Line ends"), row.lineEnds);
        hotKey(hotKeySave);
        EXPECT_EQ(fileBytes("file.txt"), row.bytes) << "saved unchanged";
        type(L"\u00E9");
        hotKey(hotKeySave);
        EXPECT_EQ(fileBytes("file.txt"), row.saved);
    }
    EXPECT_TRUE(shownBoxes().empty()) << lastBox();
}

} // namespace
