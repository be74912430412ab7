// Every file call of a save, an open and a settings write made to fail in turn: the user is told,
// nothing is reported as saved, the previous file keeps every byte and no temporary file stays.
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "files/file_owner.h"
#include "format/format_dialog.h"
#include "recovery/recovery.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"

#include <array>
#include <string>
#include <vector>

using namespace platform::testing;

namespace {

constexpr FileCall kinds[] = {FileCall::open,  FileCall::read,   FileCall::write, FileCall::flush,
                              FileCall::close, FileCall::rename, FileCall::remove};
const char* const kindNames[] = {"open", "read", "write", "flush", "close", "rename", "remove"};

using Calls = std::array<int, std::size(kinds)>;

Calls callsSoFar()
{
    Calls calls{};
    for (std::size_t k = 0; k < std::size(kinds); ++k)
        calls[k] = fileCalls(kinds[k]);
    return calls;
}

// How many calls of each kind the operation makes when nothing fails.
template <class Operation> Calls callsOf(Operation operation)
{
    const Calls before = callsSoFar();
    operation();
    Calls made = callsSoFar();
    for (std::size_t k = 0; k < made.size(); ++k)
        made[k] -= before[k];
    return made;
}

// Looking at a file's identity opens and closes it; a look that fails leaves only the check
// undone, so the operation goes on and tells nothing. These are the n-th calls a test skips.
// The removal of the previous text's backup after a replacement that succeeded only tidies up:
// when it fails, the save still happened.
struct Looks {
    int firstOpen = 0; // the look before the operation: call 1 of open and close
    int lastOpen = 0;  // the look after it: the last call of open and close
    int tidyUp = 0;    // the last call of remove
    bool skips(FileCall kind, int n, const Calls& calls) const
    {
        if (kind == FileCall::remove)
            return tidyUp && n == calls[std::size_t(kind)];
        if (kind != FileCall::open && kind != FileCall::close)
            return false;
        return (n == 1 && firstOpen) || (n == calls[std::size_t(kind)] && lastOpen);
    }
};

// Runs the operation once per call it makes, that call failing, and checks the last box it
// showed and the state after it. The operation scripts the answers of its boxes.
template <class Operation, class Check>
void failEachCall(const Calls& calls, Operation operation, Check check, Looks looks = {})
{
    for (std::size_t k = 0; k < std::size(kinds); ++k) {
        for (int n = 1; n <= calls[k]; ++n) {
            if (looks.skips(kinds[k], n, calls))
                continue;
            SCOPED_TRACE(testing::Message() << "call " << n << " of " << kindNames[k] << " fails");
            failFileCall(kinds[k], n, ERROR_DISK_FULL);
            const int before = fileCalls(kinds[k]);
            const std::size_t boxes = shownBoxes().size();
            operation();
            ASSERT_GE(fileCalls(kinds[k]) - before, n) << "the failing call was not reached";
            ASSERT_GT(shownBoxes().size(), boxes) << "the user is told";
            check(shownBoxes().back());
        }
    }
}

class FaultTest : public EditorTest {
protected:
    // The process's user is read once, at the first save that looks at a file's owner; read
    // before the calls are counted, so that every save makes the same calls.
    void SetUp() override
    {
        EditorTest::SetUp();
        tokenUser();
    }

    // Typing without the recovery copy and journal that follow it: their file calls would be
    // counted with the operation's, and take the faults meant for it.
    void type(const std::wstring& typed)
    {
        EditorTest::type(typed);
        Recovery.discard(mainWindow);
    }
    // Puts a large text in the document and marks it changed, as typing would.
    std::wstring changeText()
    {
        SetWindowTextW(Editor.editControl, largeText(2'100'000).c_str());
        type(L"x");
        return text();
    }
};

void expectSaveFailure(const ShownBox& box)
{
    EXPECT_EQ(box.owner, mainWindow);
    EXPECT_NE(box.text.find(L"Could not save"), std::wstring::npos) << box.text;
    EXPECT_NE(box.text.find(L"The disk is full."), std::wstring::npos) << box.text;
    EXPECT_EQ(box.type, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(Document.saved());
}

TEST_F(FaultTest, AFailingCallOfASaveKeepsTheOldFileAndTheTextUnsaved)
{
    const std::string old = "the old text\r\nwith \xE9 and \xFF\r\n";
    writeFileBytes("notes.txt", old);
    open("notes.txt");
    std::wstring changed = changeText();
    const Calls calls = callsOf([&] { command(commandSave); });
    ASSERT_EQ(fileBytes("notes.txt"), bytes1252(changed)) << "saving works when nothing fails";
    EXPECT_EQ(calls[std::size_t(FileCall::write)], 9) << "the text is written in 256 KB pieces";
    // The old file back, and opened again: the document knows the file as it is now.
    writeFileBytes("notes.txt", old);
    open("notes.txt");
    changed = changeText();
    const auto save = [&] {
        answerMessageBox(IDOK);
        command(commandSave);
    };
    failEachCall(calls, save,
                 [&](const ShownBox& box) {
                     expectSaveFailure(box);
                     EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
                     EXPECT_EQ(fileBytes("notes.txt"), old);
                     EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"notes.txt"});
                     EXPECT_EQ(text(), changed);
                 },
                 {1, 1, 1});
    command(commandSave);
    EXPECT_EQ(fileBytes("notes.txt"), bytes1252(changed)) << "the text was kept for a later save";
    EXPECT_EQ(title(), L"notes.txt - Quenwrite");
}

TEST_F(FaultTest, AFailingCallOfASaveAsToANewNameLeavesNoFile)
{
    const std::wstring changed = changeText();
    const Calls calls = callsOf([&] {
        answerFileDialog(path("probe.txt"));
        command(commandSaveAs);
    });
    ASSERT_EQ(fileBytes("probe.txt"), newDocumentBytes(changed));
    std::filesystem::remove(folder() + "/probe.txt");
    type(L"y");
    failEachCall(
        calls,
        [&] {
            answerFileDialog(path("new.txt"));
            answerMessageBox(IDOK);
            command(commandSaveAs);
        },
        [&](const ShownBox& box) {
            expectSaveFailure(box);
            EXPECT_EQ(title(), L"*probe.txt - Quenwrite") << "the document keeps its old name";
            EXPECT_TRUE(namesIn(folder()).empty());
        },
        {0, 1});
}

TEST_F(FaultTest, ATemporaryFileThatCannotBeRemovedStaysAsACopyAndBlocksNoLaterSave)
{
    writeFileBytes("notes.txt", "old");
    open("notes.txt");
    const std::wstring changed = changeText();
    failFileCall(FileCall::flush, 1, ERROR_WRITE_FAULT);
    failFileCall(FileCall::remove, 1, ERROR_ACCESS_DENIED);
    answerMessageBox(IDOK);
    command(commandSave);
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_NE(shownBoxes()[0].text.find(L"The disk or device reported an error."),
              std::wstring::npos);
    EXPECT_EQ(fileBytes("notes.txt"), "old");
    EXPECT_FALSE(Document.saved());
    EXPECT_EQ(namesIn(folder()), (std::vector<std::string>{".quenwrite-1.tmp", "notes.txt"}));
    command(commandSave);
    EXPECT_EQ(fileBytes("notes.txt"), newDocumentBytes(changed)) << "an ASCII file is UTF-8";
    EXPECT_TRUE(Document.saved());
    EXPECT_EQ(namesIn(folder()), (std::vector<std::string>{".quenwrite-1.tmp", "notes.txt"}));
}

TEST_F(FaultTest, AFailingCallOfAnOpenKeepsTheCurrentDocument)
{
    const std::wstring large = largeText(2'100'000);
    writeFileBytes("large.txt", bytes1252(large));
    type(L"typed");
    const Calls calls = callsOf([&] {
        answerMessageBox(IDNO); // the save question; the typed text may go
        open("large.txt");
    });
    ASSERT_EQ(text(), large);
    EXPECT_EQ(calls[std::size_t(FileCall::read)], 9) << "eight pieces of an eighth, then the end";
    answerFileDialog(path("notes.txt"));
    command(commandSaveAs);
    type(L"typed");
    const std::wstring kept = text();
    // Every byte is in hand before the close: a failing close loses nothing, so it opens.
    Calls failing = calls;
    failing[std::size_t(FileCall::close)] = 0;
    failEachCall(
        failing,
        [&] {
            answerMessageBox(IDNO);
            answerMessageBox(IDOK);
            open("large.txt");
        },
        [&](const ShownBox& box) {
            EXPECT_NE(box.text.find(L"Could not open"), std::wstring::npos) << box.text;
            EXPECT_EQ(text(), kept);
            EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
        },
        {1, 0});
    failFileCall(FileCall::close, 1, ERROR_WRITE_FAULT);
    answerMessageBox(IDNO);
    open("large.txt");
    EXPECT_EQ(text(), large);
    EXPECT_EQ(title(), L"large.txt - Quenwrite");
}

TEST_F(StartupTest, ASettingsFileThatFailsToReadLeavesTheStartUpFontAndSaysNothing)
{
    writeSettings("fontSize=30\r\nfontFamily=Arial");
    failFileCall(FileCall::read, 1, ERROR_READ_FAULT);
    startEditor();
    const FontInfo font = fontInfo(fontOf(Editor.editControl));
    EXPECT_EQ(font.height, 21);
    EXPECT_EQ(font.face, L"Courier New");
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(StartupTest, AFailingCallOfASettingsWriteKeepsTheOldFile)
{
    const std::string old = "[Quenwrite settings]\r\nfontSize=16\r\n; kept byte for byte\xFF";
    writeSettings(old);
    startEditor();
    tokenUser(); // read once, before the calls are counted, as in FaultTest
    HWND formatWindow = nullptr;
    const auto apply = [&] {
        command(commandFont);
        formatWindow = windowsOfClass(formatWindowClassName).at(0);
        click(GetDlgItem(formatWindow, applyId));
        processEvents();
    };
    const Calls calls = callsOf(apply);
    ASSERT_NE(fileBytes(settingsFile()), old) << "Apply writes the file when nothing fails";
    writeSettings(old);
    const auto failingApply = [&] {
        answerMessageBox(IDOK);
        apply();
    };
    failEachCall(calls, failingApply,
                 [&](const ShownBox& box) {
                     EXPECT_EQ(box.owner, formatWindow);
                     EXPECT_EQ(box.text, L"Cannot open settings file.");
                     EXPECT_EQ(fileBytes(settingsFile()), old);
                     EXPECT_EQ(namesIn(configFolder() + "/quenwrite"),
                               std::vector<std::string>{"settings.ini"});
                 },
                 {0, 0, 1});
}

} // namespace
