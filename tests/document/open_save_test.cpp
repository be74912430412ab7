// Opening and saving as a user does it: real files in the test's folder, the menu and hot keys,
// scripted dialog and box answers.
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "tests/support/editor_test.h"

#include <filesystem>
#include <string>
#include <vector>

#include <sys/mount.h>

using namespace platform::testing;
using namespace std::string_literals;

namespace {

const std::wstring saveQuestion = L"Would you like to save changes in the current document?";
const std::wstring overwriteWarning =
    L"File with that name already exists. Do you wish to overwrite it?";

std::wstring widen(const std::string& bytes)
{
    std::wstring text;
    for (const char c : bytes)
        text += wchar_t(static_cast<unsigned char>(c));
    return text;
}

bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

class DocumentTest : public EditorTest {
protected:
    // The one box shown since the last call, which must name the file.
    std::wstring lastBoxNaming(const std::string& name)
    {
        const auto& boxes = shownBoxes();
        if (boxes.size() != boxesSeen_ + 1) {
            ADD_FAILURE() << "expected one new box, got " << boxes.size() - boxesSeen_;
            boxesSeen_ = boxes.size();
            return L"";
        }
        boxesSeen_ = boxes.size();
        EXPECT_TRUE(contains(boxes.back().text, widen(name))) << "box does not name " << name;
        EXPECT_EQ(boxes.back().owner, mainWindow);
        return boxes.back().text;
    }
    std::size_t boxesSeen_ = 0;
};

TEST_F(DocumentTest, OpeningShowsTheNameAndSavingAnUnchangedFileKeepsEveryByte)
{
    const std::string bytes = "no line end at the end,\n\x80 in 8-bit";
    writeFileBytes("bytes.txt", bytes);
    open("bytes.txt");
    EXPECT_EQ(title(), L"bytes.txt - Quenwrite");
    EXPECT_EQ(text(), L"no line end at the end,\r\n\u20AC in 8-bit");
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("bytes.txt"), bytes);
    EXPECT_EQ(title(), L"bytes.txt - Quenwrite");
}

TEST_F(DocumentTest, ZeroBytesOpenAsANewUnsavedDocumentSoTheFileCannotBeReplaced)
{
    const std::string bytes("a\0b\nc", 5);
    writeFileBytes("zero.bin", bytes);
    answerMessageBox(IDOK);
    open("zero.bin");
    EXPECT_TRUE(contains(lastBoxNaming("zero.bin"), L"1 zero byte"));
    EXPECT_EQ(text(), L"ab\r\nc");
    EXPECT_EQ(title(), L"*New file - Quenwrite");
    cancelFileDialog();
    hotKey(hotKeySave);
    EXPECT_EQ(shownFileDialogs().back().save, true);
    EXPECT_EQ(fileBytes("zero.bin"), bytes);
}

TEST_F(DocumentTest, AFileThatCannotBeReadIsReportedAndTheDocumentStays)
{
    std::filesystem::create_directory(folder() + "/folder.txt");
    type(L"mine");
    answerMessageBox(IDNO);
    answerMessageBox(IDOK);
    open("folder.txt");
    boxesSeen_ = 1;
    EXPECT_TRUE(contains(lastBoxNaming("folder.txt"), L"Could not open"));
    EXPECT_EQ(text(), L"mine");
    EXPECT_EQ(title(), L"*New file - Quenwrite");
}

TEST_F(DocumentTest, AMissingFileOpensAsItsEmptyDocumentAndSaveCreatesIt)
{
    type(L"old");
    answerMessageBox(IDNO);
    open("new.txt");
    EXPECT_EQ(text(), L"");
    EXPECT_EQ(title(), L"new.txt - Quenwrite");
    type(L"x");
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("new.txt"), "x");
}

TEST_F(DocumentTest, OpenAsksTheSaveQuestionFirstAndGoesOnOnlyWhenNothingIsLost)
{
    writeFileBytes("other.txt", "other");
    type(L"draft");
    answerMessageBox(IDYES); // Yes on an unnamed document: Save as, cancelled
    cancelFileDialog();
    hotKey(hotKeyOpen);
    EXPECT_EQ(shownBoxes().back().text, saveQuestion);
    EXPECT_EQ(shownFileDialogs().size(), 1u) << "no Open dialog after the cancelled save";
    EXPECT_EQ(text(), L"draft");

    answerMessageBox(IDYES);
    answerFileDialog(path("draft.txt"));
    open("other.txt");
    EXPECT_EQ(fileBytes("draft.txt"), "draft");
    EXPECT_EQ(text(), L"other");
    EXPECT_EQ(title(), L"other.txt - Quenwrite");
}

TEST_F(DocumentTest, SaveAsAddsTxtOnlyToANameWithoutADot)
{
    std::filesystem::create_directory(folder() + "/old.docs");
    struct Row {
        std::string chosen;
        std::string written;
    };
    const Row rows[] = {
        {"notes", "notes.txt"},
        {"old.docs/notes", "old.docs/notes.txt"},
        {"a.b.txt", "a.b.txt"},
        {"ending.", "ending."},
    };
    type(L"text");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen);
        std::filesystem::current_path(folder());
        saveAs(path(row.chosen));
        EXPECT_EQ(fileBytes(row.written), "text");
        const std::string name = std::filesystem::path(row.written).filename().string();
        EXPECT_EQ(title(), widen(name) + L" - Quenwrite");
    }
}

TEST_F(DocumentTest, SaveOfAnOpenedFileKeepsItsNameEvenWithoutADot)
{
    writeFileBytes("README", "read me\r\n");
    open("README");
    type(L"!");
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("README"), "!read me\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder() + "/README.txt"));
}

TEST_F(DocumentTest, OverwritingAnExistingFileAsksFirstWithABeep)
{
    writeFileBytes("notes.txt", "keep");
    type(L"new");
    answerMessageBox(IDNO);
    saveAs(path("notes"));
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_EQ(shownBoxes()[0].text, overwriteWarning);
    EXPECT_EQ(shownBoxes()[0].caption, L"Warning");
    EXPECT_EQ(shownBoxes()[0].type, UINT(MB_ICONEXCLAMATION | MB_YESNO));
    ASSERT_FALSE(beeps().empty());
    EXPECT_EQ(beeps().back(), UINT(MB_ICONEXCLAMATION));
    EXPECT_EQ(fileBytes("notes.txt"), "keep");
    EXPECT_EQ(title(), L"*New file - Quenwrite");
    answerMessageBox(IDYES);
    saveAs(path("notes"));
    EXPECT_EQ(fileBytes("notes.txt"), "new");
}

TEST_F(DocumentTest, AFailedSaveIsReportedAndLeavesFileAndDocumentAsTheyWere)
{
    writeFileBytes("locked.txt", "locked");
    std::filesystem::permissions(folder() + "/locked.txt", std::filesystem::perms::owner_read);
    std::filesystem::create_directory(folder() + "/shut");
    std::filesystem::permissions(folder() + "/shut", std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
    std::filesystem::create_directory(folder() + "/taken.txt");
    struct Row {
        std::string chosen;
        std::wstring reason;
        std::string kept; // a file whose bytes must not change, or empty
        std::string keptBytes;
    };
    const Row rows[] = {
        {"locked.txt", L"read-only", "locked.txt", "locked"},
        {"shut/new.txt", L"read-only", "", ""},
        {"missing/notes.txt", L"folder does not exist", "", ""},
        {"taken.txt", L"folder of that name", "", ""},
    };
    type(L"mine");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen);
        if (!row.kept.empty())
            answerMessageBox(IDYES); // the overwrite warning
        answerMessageBox(IDOK);
        boxesSeen_ = shownBoxes().size() + (row.kept.empty() ? 0 : 1);
        saveAs(path(row.chosen));
        const std::wstring box = lastBoxNaming(row.chosen);
        EXPECT_TRUE(contains(box, row.reason)) << box;
        if (!row.kept.empty()) {
            EXPECT_EQ(fileBytes(row.kept), row.keptBytes);
        }
        EXPECT_EQ(title(), L"*New file - Quenwrite");
        EXPECT_TRUE(Document.filePath().empty());
    }
    std::filesystem::permissions(folder() + "/shut", std::filesystem::perms::owner_all);
    EXPECT_FALSE(std::filesystem::exists(folder() + "/shut/new.txt"));
}

TEST_F(DocumentTest, SavingKeepsTheFilesPermissions)
{
    writeFileBytes("shared.txt", "old");
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read;
    std::filesystem::permissions(folder() + "/shared.txt", mode);
    open("shared.txt");
    type(L"x");
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("shared.txt"), "xold");
    EXPECT_EQ(std::filesystem::status(folder() + "/shared.txt").permissions(), mode);
}

TEST_F(DocumentTest, NewForgetsTheFileSoSaveAsksForAName)
{
    writeFileBytes("first.txt", "first");
    open("first.txt");
    hotKey(hotKeyNew);
    EXPECT_EQ(title(), L"New file - Quenwrite");
    type(L"second");
    answerFileDialog(path("second.txt"));
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("first.txt"), "first");
    EXPECT_EQ(fileBytes("second.txt"), "second");
}

TEST_F(DocumentTest, NewEmptiesTheTextOnlyAfterASaveThatHappened)
{
    type(L"keep me");
    struct Row {
        const char* name;
        int answer;
        bool dialogAnswered;
        std::wstring text;
        std::wstring title;
    };
    const Row rows[] = {
        {"Yes, Save as cancelled", IDYES, false, L"keep me", L"*New file - Quenwrite"},
        {"Yes, saved", IDYES, true, L"", L"New file - Quenwrite"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        answerMessageBox(row.answer);
        if (row.dialogAnswered) {
            answerFileDialog(path("kept.txt"));
        } else {
            cancelFileDialog();
        }
        command(commandNew);
        EXPECT_EQ(text(), row.text);
        EXPECT_EQ(title(), row.title);
    }
    EXPECT_EQ(fileBytes("kept.txt"), "keep me");
    type(L"gone");
    answerMessageBox(IDNO);
    command(commandNew);
    EXPECT_EQ(text(), L"");
    EXPECT_EQ(title(), L"New file - Quenwrite");
}

TEST_F(DocumentTest, ClosingKeepsTheWindowWhenTheSaveDidNotHappen)
{
    writeFileBytes("locked.txt", "locked");
    open("locked.txt");
    std::filesystem::permissions(folder() + "/locked.txt", std::filesystem::perms::owner_read);
    type(L"change");
    answerMessageBox(IDYES);
    answerMessageBox(IDOK);
    clickCloseBox(mainWindow);
    processEvents();
    EXPECT_TRUE(IsWindow(mainWindow));
    boxesSeen_ = 1;
    lastBoxNaming("locked.txt");
    answerMessageBox(IDYES);
    answerMessageBox(IDOK);
    hotKey(hotKeyNew); // the same question, New's way: still nothing lost
    EXPECT_EQ(text(), L"changelocked");
    answerMessageBox(IDNO);
    clickCloseBox(mainWindow);
    processEvents();
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_EQ(fileBytes("locked.txt"), "locked");
}

TEST_F(DocumentTest, TheDialogsGetTheFilterALongBufferAndMakeTheChosenFolderCurrent)
{
    std::filesystem::create_directory(folder() + "/sub");
    writeFileBytes("sub/in.txt", "in");
    answerFileDialog(L"sub/in.txt"); // relative: taken against the current folder
    hotKey(hotKeyOpen);
    EXPECT_EQ(Document.filePath(), path("sub/in.txt"));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(folder()) / "sub");
    answerFileDialog(L"out");
    hotKey(hotKeySaveAs);
    EXPECT_EQ(fileBytes("sub/out.txt"), "in");
    ASSERT_EQ(shownFileDialogs().size(), 2u);
    const std::wstring filter = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0"s;
    for (const ShownFileDialog& dialog : shownFileDialogs()) {
        SCOPED_TRACE(dialog.save ? "save" : "open");
        EXPECT_EQ(dialog.owner, mainWindow);
        EXPECT_EQ(dialog.structSize, sizeof(OPENFILENAMEW));
        EXPECT_EQ(dialog.flags, 0u);
        EXPECT_EQ(dialog.filter, filter);
        EXPECT_EQ(dialog.filterIndex, dialog.save ? 1u : 2u);
        EXPECT_GE(dialog.bufferSize, 32768u);
    }
}

TEST_F(DocumentTest, APathOfThreeHundredCharactersIsSavedAndOpened)
{
    std::string deep = folder();
    while (deep.size() < 240)
        deep += "/" + std::string(40, 'd');
    std::filesystem::create_directories(deep);
    const std::string file = deep + "/" + std::string(300 - deep.size() - 5, 'n') + ".txt";
    ASSERT_EQ(file.size(), 300u);
    type(L"deep");
    saveAs(widen(file));
    EXPECT_EQ(Document.filePath(), widen(file));
    hotKey(hotKeyNew);
    answerFileDialog(widen(file));
    hotKey(hotKeyOpen);
    EXPECT_EQ(text(), L"deep");
}

} // namespace

namespace {

// A real full disk: a small tmpfs mounted in the test's folder, when this machine lets us mount.
class FullDiskTest : public DocumentTest {
protected:
    void TearDown() override
    {
        if (mounted_) {
            // The Open dialog made the small disk's folder current; leave it, and detach the
            // mount even if something still holds it, so no test leaves a mount behind.
            std::filesystem::current_path(folder());
            EXPECT_EQ(umount2(small_.c_str(), MNT_DETACH), 0);
        }
        DocumentTest::TearDown();
    }
    bool mountSmallDisk()
    {
        small_ = folder() + "/small";
        std::filesystem::create_directory(small_);
        mounted_ = mount("tmpfs", small_.c_str(), "tmpfs", 0, "size=16k") == 0;
        return mounted_;
    }
    std::string small_;
    bool mounted_ = false;
};

TEST_F(FullDiskTest, AFullDiskIsReportedAndThePreviousFileKeepsEveryByte)
{
    if (!mountSmallDisk())
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root and mount rights)";
    writeFileBytes("small/notes.txt", "old\r\n");
    open("small/notes.txt");
    const std::wstring large(64 * 1024, L'x');
    SendMessageW(Editor.editControl, EM_REPLACESEL, TRUE, LPARAM(large.c_str()));
    answerMessageBox(IDOK);
    hotKey(hotKeySave);
    EXPECT_TRUE(contains(lastBoxNaming("small/notes.txt"), L"The disk is full."));
    EXPECT_EQ(fileBytes("small/notes.txt"), "old\r\n");
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(small_))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"notes.txt"}) << "a temporary file stayed";
}

} // namespace
