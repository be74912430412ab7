// Bad input to the user interface: a megabyte on one line, a file of nothing but CR bytes, random
// bytes, a name beyond Latin-1 and a search text longer than the document. None may crash or
// hang, and each gives what the line-end and byte rules promise.
#include "app/main_window.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "encoding/text_detect.h"
#include "encoding/text_reader.h"
#include "search/find_dialog.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>

using namespace platform::testing;

namespace {

class InputTest : public EditorTest {
protected:
    // Opens a Find window, puts the needle in its box and clicks Find.
    void find(const std::wstring& needle)
    {
        if (!findWindow_) {
            command(commandFind);
            findWindow_ = windowsOfClass(FindDialog.className).at(0);
        }
        SetWindowTextW(GetDlgItem(findWindow_, findEditId), needle.c_str());
        click(GetDlgItem(findWindow_, findButtonId));
        processEvents();
    }
    HWND findWindow_ = nullptr;
};

TEST_F(InputTest, AMegabyteOnOneLineOpensIsSearchedToItsEndAndSavesBack)
{
    const std::string line = std::string(1 << 20, 'q') + "Z";
    writeFileBytes("line.txt", line);
    open(path("line.txt"));
    EXPECT_EQ(text(), std::wstring(1 << 20, L'q') + L"Z");
    find(L"qZ");
    const Selection found = selection(Editor.editControl);
    EXPECT_EQ(found.start, (1 << 20) - 1);
    EXPECT_EQ(found.end, (1 << 20) + 1);
    type(L"!"); // replaces the match
    command(commandSave);
    EXPECT_EQ(fileBytes("line.txt"), std::string((1 << 20) - 1, 'q') + "!");
}

// Save reads lines one message each until a line too long for EM_GETLINE; from there it reads a
// copy of the whole text, which must start right where the lines read so far ended.
TEST_F(InputTest, ALineTooLongToReadAsALineAmongShortOnesSavesBack)
{
    std::string bytes;
    for (int line = 0; line < 50; ++line)
        bytes += "short line " + std::to_string(line) + "\r\n";
    bytes += std::string(70000, 'L') + "\r\n";
    for (int line = 0; line < 20000; ++line)
        bytes += "after " + std::to_string(line) + "\r\n";
    writeFileBytes("mixed.txt", bytes);
    open(path("mixed.txt"));
    type(L"x");
    command(commandSave);
    EXPECT_EQ(fileBytes("mixed.txt"), "x" + bytes);
}

TEST_F(InputTest, AFileOfOnlyCrBytesKeepsEveryOneThroughSaveAndOpen)
{
    // Without any LF the CR bytes are the line ends: ten thousand empty lines.
    writeFileBytes("cr.txt", std::string(10000, '\r'));
    open(path("cr.txt"));
    std::wstring expected;
    for (int line = 0; line < 10000; ++line)
        expected += L"\r\n";
    EXPECT_EQ(text(), expected);
    EXPECT_EQ(GetWindowTextLengthW(Editor.editControl), 20000);
    type(L"x");
    command(commandSave);
    EXPECT_EQ(fileBytes("cr.txt"), "x" + std::string(10000, '\r'));
    open(path("cr.txt"));
    EXPECT_EQ(text(), L"x" + expected);
}

TEST_F(InputTest, RandomBytesOpenByTheRulesAndSaveAndOpenAgainUnchanged)
{
    // Without CR bytes the line ends are LF alone: a mixed file would be written in one form.
    std::mt19937 random(20261208);
    std::string bytes(300000, '\0');
    for (char& byte : bytes)
        byte = char(random() % 256);
    std::replace(bytes.begin(), bytes.end(), '\r', 'r');
    writeFileBytes("random.bin", bytes);
    answerMessageBox(IDOK); // the zero bytes left out
    open(path("random.bin"));
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_NE(shownBoxes()[0].text.find(L"zero bytes"), std::wstring::npos);
    const std::wstring shown = text();
    EXPECT_EQ(shown, textFromBytes(bytes, detectFormat(bytes).format));
    EXPECT_EQ(title(), L"*New file - Quenwrite");
    saveAs(path("copy.bin"));
    std::string kept = bytes;
    std::erase(kept, '\0');
    EXPECT_EQ(fileBytes("copy.bin"), kept);
    EXPECT_EQ(fileBytes("random.bin"), bytes);
    command(commandNew);
    open(path("copy.bin"));
    EXPECT_EQ(text(), shown);
    EXPECT_EQ(title(), L"copy.bin - Quenwrite");
}

TEST_F(InputTest, ANameBeyondLatin1IsSavedUnderItsOwnLettersAndOpensAgain)
{
    const std::wstring name = L"\u0417\u0430\u043C\u0435\u0442\u043A\u0438 \u65E5\u672C "
                              L"\U0001F600.txt";
    const std::wstring chosen = path("") + L"/" + name;
    type(L"text");
    saveAs(chosen);
    EXPECT_EQ(title(), name + L" - Quenwrite");
    EXPECT_EQ(windowTitle(mainWindow), name + L" - Quenwrite");
    // On disk the name is UTF-8, so other programs see the same letters.
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder()) /
                                        u8"\u0417\u0430\u043C\u0435\u0442\u043A\u0438 "
                                        u8"\u65E5\u672C \U0001F600.txt"));
    EXPECT_EQ(namesIn(folder()).size(), 1u);
    command(commandNew);
    open(chosen);
    EXPECT_EQ(text(), L"text");
    answerMessageBox(IDNO); // the overwrite warning finds the file by that name
    saveAs(chosen);
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_EQ(shownBoxes()[0].caption, L"Warning");
}

TEST_F(InputTest, ASearchTextLongerThanTheDocumentMissesAtOnce)
{
    const std::wstring document(4999, L'a');
    SetWindowTextW(Editor.editControl, document.c_str());
    const std::wstring needles[] = {std::wstring(5000, L'a'), L"b" + document, document + L"\r\n"};
    for (const std::wstring& needle : needles) {
        SCOPED_TRACE(needle.size());
        const std::size_t boxes = shownBoxes().size();
        answerMessageBox(IDOK);
        find(needle);
        ASSERT_EQ(shownBoxes().size(), boxes + 1);
        EXPECT_EQ(shownBoxes().back().text, L"Searched string was not found in this document.");
        EXPECT_EQ(text(), document);
    }
    find(document);
    const Selection whole = selection(Editor.editControl);
    EXPECT_EQ(whole.start, 0);
    EXPECT_EQ(whole.end, 4999);
}

} // namespace
