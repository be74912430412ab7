// Files that come from the desktop: named on the command line, dropped onto the window, and the
// file types the Open and Save as dialogs list.
#include "app/command_line.h"
#include "app/main_window.h"
#include "document/open_named.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "platform/qt/shell/command_line_p.h"
#include "tests/support/editor_test.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace platform::testing;

namespace {

const std::wstring saveQuestion = L"Would you like to save changes in the current document?";

TEST(CommandLine, TheFirstArgumentIsTheFileAsWindowsSplitsTheLine)
{
    struct Row {
        const wchar_t* line;
        const wchar_t* file;
    };
    const Row rows[] = {
        {L"", L""},
        {L"   ", L""},
        {L"\"C:\\My Documents\\notes.txt\"", L"C:\\My Documents\\notes.txt"},
        {L"  first.txt   second.txt", L"first.txt"},
        {L"\"a\\\"b\" c", L"a\"b"}, // the argument rules, not the program name's
        {L"\"\" second.txt", L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "line [" << std::wstring(row.line) << "]");
        EXPECT_EQ(fileOfCommandLine(row.line), row.file);
    }
}

TEST(CommandLine, EveryNameReachesTheEditorUnchangedFromTheLinuxProgramsArguments)
{
    const std::wstring names[] = {
        L"notes.txt", L"my notes é.txt", L"tab\there", L"say \"hi\".txt", L"back\\slash",
        L"ends in\\", L"ends in \\\\",   L"\\\"",      L"-dash",          L"",
    };
    for (const std::wstring& name : names) {
        SCOPED_TRACE(testing::Message() << "name [" << name << "]");
        const std::wstring line = platform::commandLineOf({name, L"second name"});
        EXPECT_EQ(fileOfCommandLine(line.c_str()), name) << "line [" << line << "]";
    }
}

class DesktopTest : public EditorTest {
protected:
    void drop(const std::vector<std::string>& names)
    {
        std::vector<std::wstring> paths;
        for (const std::string& name : names)
            paths.push_back(path(name));
        EXPECT_TRUE(dropFiles(Editor.editControl, paths));
        processEvents();
    }
};

TEST_F(DesktopTest, ANamedFileOpensUnderItsFullPathAndAMissingOneAsAnEmptyDocument)
{
    std::filesystem::create_directory(folder() + "/sub");
    writeFileBytes("sub/notes.txt", "hello\r\n");
    openNamedFile(mainWindow, L"sub/notes.txt");
    EXPECT_EQ(title(), L"notes.txt - Quenwrite");
    EXPECT_EQ(text(), L"hello\r\n");
    // Full, so that a dialog changing the current folder cannot send Save elsewhere.
    EXPECT_EQ(Document.filePath(), path("sub/notes.txt"));

    openNamedFile(mainWindow, L"new.txt");
    EXPECT_EQ(title(), L"new.txt - Quenwrite");
    EXPECT_EQ(text(), L"");
    EXPECT_TRUE(Document.saved());
    hotKey(hotKeySave);
    EXPECT_TRUE(std::filesystem::exists(path("new.txt")));
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(DesktopTest, TheFirstOfTheDroppedFilesOpensAsOpenWould)
{
    writeFileBytes("first.txt", "first\r\n");
    writeFileBytes("second.txt", "second\r\n");
    drop({"first.txt", "second.txt"});
    EXPECT_EQ(title(), L"first.txt - Quenwrite");
    EXPECT_EQ(text(), L"first\r\n");
    EXPECT_EQ(Document.filePath(), path("first.txt"));
    EXPECT_TRUE(Document.saved());
    EXPECT_TRUE(shownBoxes().empty()) << "an unchanged document goes without a question";
}

TEST_F(DesktopTest, ADropOntoAChangedDocumentAsksTheSaveQuestionFirst)
{
    writeFileBytes("dropped.txt", "dropped\r\n");
    struct Row {
        const char* name;
        int answer;
        bool saveDialogChooses; // Yes on a document without a file: Save as
        std::wstring title;
        std::wstring text;
    };
    // Each row starts from a new document, so the last one may leave its text unsaved.
    const Row rows[] = {
        {"no", IDNO, false, L"dropped.txt - Quenwrite", L"dropped\r\n"},
        {"yes, saved", IDYES, true, L"dropped.txt - Quenwrite", L"dropped\r\n"},
        {"yes, save as cancelled: nothing is lost", IDYES, false, L"*New file - Quenwrite",
         L"draft"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Editor.newDocument(mainWindow, true);
        type(L"draft");
        answerMessageBox(row.answer);
        if (row.answer == IDYES) {
            if (row.saveDialogChooses)
                answerFileDialog(path("draft.txt"));
            else
                cancelFileDialog();
        }
        drop({"dropped.txt"});
        EXPECT_EQ(shownBoxes().back().text, saveQuestion);
        EXPECT_EQ(title(), row.title);
        EXPECT_EQ(text(), row.text);
    }
    EXPECT_EQ(fileBytes("draft.txt"), "draft");
}

TEST_F(DesktopTest, NothingButFilesIsTakenAndNothingWhileTheWindowIsDisabled)
{
    writeFileBytes("a.txt", "a\r\n");
    EXPECT_FALSE(dropFiles(Editor.editControl, {})) << "a drag without files";
    command(commandFind);
    const std::vector<HWND> find = windowsOfClass(L"Search Dialog Class");
    ASSERT_EQ(find.size(), 1u);
    EXPECT_FALSE(dropFiles(find[0], {path("a.txt")})) << "the Find window takes no files";
    command(commandFont); // the Format text window disables the main window
    EXPECT_FALSE(dropFiles(Editor.editControl, {path("a.txt")}));
    processEvents();
    EXPECT_EQ(title(), L"New file - Quenwrite");
}

TEST_F(DesktopTest, ADroppedFolderIsReportedBeforeAnyQuestionAndTheDocumentKept)
{
    std::filesystem::create_directory(folder() + "/folder.txt");
    type(L"kept");
    answerMessageBox(IDOK);
    drop({"folder.txt"});
    ASSERT_EQ(shownBoxes().size(), 1u) << "no save question for a drop that cannot open";
    EXPECT_NE(shownBoxes()[0].text.find(L"folder"), std::wstring::npos);
    EXPECT_EQ(shownBoxes()[0].type & MB_ICONERROR, MB_ICONERROR);
    EXPECT_EQ(text(), L"kept");
    EXPECT_EQ(title(), L"*New file - Quenwrite");
}

TEST_F(DesktopTest, OpenStartsOnAllFilesAndSaveAsOnTextFiles)
{
    writeFileBytes("README", "readme\r\n");
    writeFileBytes("notes.txt", "notes\r\n");
    writeFileBytes("script.py", "script\r\n");
    const std::vector<std::wstring> types = {L"Text files (*.txt)", L"All files (*.*)"};

    showFileDialog(L"README");
    hotKey(hotKeyOpen);
    const ListedFileDialog open = listedFileDialog();
    EXPECT_EQ(open.fileTypes, types);
    EXPECT_EQ(open.startType, 1);
    ASSERT_EQ(open.names.size(), 2u);
    EXPECT_EQ(open.names[0], (std::vector<std::wstring>{L"notes.txt"}));
    EXPECT_EQ(open.names[1], (std::vector<std::wstring>{L"README", L"notes.txt", L"script.py"}));
    EXPECT_EQ(title(), L"README - Quenwrite");

    showFileDialog(L"copy");
    hotKey(hotKeySaveAs);
    const ListedFileDialog saveAs = listedFileDialog();
    EXPECT_EQ(saveAs.fileTypes, types);
    EXPECT_EQ(saveAs.startType, 0);
    EXPECT_EQ(fileBytes("copy.txt"), "readme\r\n") << "Save as still adds .txt";
}

} // namespace
