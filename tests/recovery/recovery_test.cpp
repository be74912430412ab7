// The recovery copy as a user relies on it: written after a pause in typing, holding the text and
// the file exactly, gone once the text is saved or dropped, written at once when the session
// ends, and offered back at the next start; and its file format underneath.
#include "app/commands.h"
#include "app/main.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "encoding/text_reader.h"
#include "files/file_identity.h"
#include "recovery/journal_file.h"
#include "recovery/recovery.h"
#include "recovery/recovery_file.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"
#include "tests/support/full_edit.h"
#include "ui/text_limits.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform::testing;

namespace {

// A text set whole while the document has unsaved changes (as a restored one has) is held by no
// file: its changes go to a journal only once a whole copy of it is kept.
void wholeCopiesFirst()
{
    Document.change();
    SetWindowTextW(Editor.editControl, L"");
}

TEST(RecoveryFile, HeaderAndTextComeBackExactly)
{
    struct Row {
        const char* name;
        std::wstring text;
    };
    const Row rows[] = {
        {"empty", L""},
        {"lines", L"one\r\ntwo\r\n"},
        {"one byte's characters", L"\x01\x7f\x80\xe9\xff"},
        {"beyond one byte", L"\x20ac \x4e2d\x6587"},
        {"beyond 16 bits", std::wstring(1, wchar_t(0x1F600))},
        {"surrogates on their own", std::wstring{wchar_t(0xD800), L'a', wchar_t(0xDC00)}},
        {"surrogates side by side", std::wstring{wchar_t(0xDBFF), wchar_t(0xDFFF)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const RecoveryHeader written{133500000000000000ULL,
                                     L"/home/u/\xe9t\xe9\nnotes.txt",
                                     FileIdentity{true, 7, 1ULL << 40, 12345, 987654321},
                                     {Encoding::utf16Be, LineEnd::cr},
                                     {3, 1ULL << 33, 0}};
        std::string bytes = headerBytes(written);
        const std::size_t textStart = bytes.size();
        appendTextBytes(row.text, bytes);
        RecoveryHeader read;
        ASSERT_EQ(parseHeader(bytes, read), textStart);
        EXPECT_EQ(read.time, written.time);
        EXPECT_EQ(read.path, written.path);
        EXPECT_EQ(read.identity, written.identity);
        EXPECT_EQ(read.format.encoding, Encoding::utf16Be);
        EXPECT_EQ(read.format.lineEnd, LineEnd::cr);
        EXPECT_EQ(read.mixedLineEnds.crLf, 3u);
        EXPECT_EQ(read.mixedLineEnds.lf, 1ULL << 33);
        const std::string_view textBytes = std::string_view(bytes).substr(textStart);
        EXPECT_EQ(recoveryText(textBytes), row.text);
        // Read in pieces, a character split between two comes back whole.
        for (std::size_t split = 0; split <= textBytes.size(); ++split) {
            std::wstring text;
            TextFromRecoveryBytes decoder;
            decoder.append(textBytes.substr(0, split), text);
            decoder.append(textBytes.substr(split), text);
            decoder.finish(text);
            EXPECT_EQ(text, row.text) << "split at " << split;
        }
    }
}

TEST(RecoveryFile, AHeaderCutShortOrOfAnotherKindIsNoCopy)
{
    const std::string whole = headerBytes({1, L"a.txt", {}, {}, {}}) + "text";
    RecoveryHeader header;
    for (std::size_t length = 0; length < whole.size() - 4; ++length)
        EXPECT_EQ(parseHeader(whole.substr(0, length), header), std::string::npos) << length;
    for (const std::string& foreign :
         {std::string("Quenwrite recovery copy\ntime x\n"), std::string("plain text\n"),
          std::string("Quenwrite recovery copy\ntime 1\nfile 0 0 0 0 0\npath 999\na.txt\n\n"),
          std::string("Quenwrite recovery copy\ntime 1\nfile 0 0 0 0 0\nformat 7 0 0 0 0\n"
                      "path 5\na.txt\n\n"),
          std::string("Quenwrite recovery copy\ntime 1\nfile 0 0 0 0 0\nformat 1 4 0 0 0\n"
                      "path 5\na.txt\n\n")}) {
        SCOPED_TRACE(foreign);
        EXPECT_EQ(parseHeader(foreign, header), std::string::npos);
    }
}

TEST(RecoveryFile, ADamagedHeaderIsNoCopyAndIsNeverReadPastItsEnd)
{
    const std::string start = "Quenwrite recovery copy\ntime 1\n";
    const char* const damaged[] = {
        "file 0 0 0 0 0\npath 18446744073709551615\na.txt\n\n",
        "file 0 0 0 0 0\npath 18446744073709551614\na.txt\n\n",
        "file 0 0 0 0 0\npath 18446744073709551616\na.txt\n\n",
        "file 0 0 0 0 0\npath 6\na.txt\n\n",
        "file 0 0 0 0 0\npath 5 7\na.txt\n\n",
        "file 2 0 0 0 0\npath 5\na.txt\n\n",
        "file 0 0 0 0 0 9 9\npath 5\na.txt\n\n",
        "file 0 0 0 0 99999999999999999999\npath 5\na.txt\n\n",
        "file 0 0 0 0 0\nformat 0 0 0 0 0 0\npath 5\na.txt\n\n",
        "file 0 0 0 0 0\nformat 0 0 -1 0 0\npath 5\na.txt\n\n",
    };
    for (const char* rest : damaged) {
        SCOPED_TRACE(rest);
        RecoveryHeader header;
        EXPECT_EQ(parseHeader(start + rest, header), std::string::npos);
    }
}

TEST(RecoveryFile, ACopyFromBeforeTheFormatWasKeptReadsAs8BitTextWithCrLf)
{
    const std::string old = "Quenwrite recovery copy\ntime 1\nfile 0 0 0 0 0\npath 5\na.txt\n\nold";
    RecoveryHeader header;
    header.format = {Encoding::utf8, LineEnd::lf};
    ASSERT_EQ(parseHeader(old, header), old.size() - 3);
    EXPECT_EQ(header.path, L"a.txt");
    EXPECT_EQ(header.format.encoding, Encoding::eightBit);
    EXPECT_EQ(header.format.lineEnd, LineEnd::crLf);
}

class RecoveryTest : public EditorTest {
protected:
    std::vector<std::string> copies() const
    {
        std::vector<std::string> found;
        for (const std::string& name : namesIn(programFolder())) {
            if (name.ends_with(".recovery"))
                found.push_back(name);
        }
        return found;
    }

    // The pause after typing ends at once; the copy's steps, and the rest a copy right after
    // another waits for, come from the timer as the message loop gives them.
    void tickUntilWritten()
    {
        SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
        EXPECT_TRUE(platform::testing::waitFor([] { return Recovery.current; }))
            << "the copy was not written";
    }

    // The only copy's header, and the text it holds with its journal, as a restore would make
    // it: the copy's text or its file's, and then each change of the journal.
    std::wstring copiedText(RecoveryHeader& header)
    {
        const std::vector<std::string> found = copies();
        if (found.size() != 1) {
            ADD_FAILURE() << found.size() << " copies";
            return L"";
        }
        const std::string copy = programFolder() + "/" + found[0];
        const std::string bytes = bytesOf(copy);
        const std::size_t start = parseHeader(bytes, header);
        if (start == std::string::npos) {
            ADD_FAILURE() << "no header";
            return L"";
        }
        std::wstring text = recoveryText(std::string_view(bytes).substr(start));
        if (header.textInFile) {
            TextReader reader(header.format);
            reader.append(bytesOf(std::filesystem::path(header.path).string()));
            text = reader.finish();
        }
        const std::string journal = bytesOf(copy.substr(0, copy.size() - 9) + ".journal");
        readJournal(journal, header.time, [&text](const JournalChange& change) {
            if (change.position > text.size() || change.removed > text.size() - change.position)
                return false;
            text.replace(change.position, change.removed, change.inserted);
            return true;
        });
        return text;
    }

    static std::string bytesOf(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
};

TEST_F(RecoveryTest, TypingKeepsEachChangeAndTheFileInACopyThatOnlyTheUserMayRead)
{
    writeFileBytes("notes.txt", "first line\r\n");
    open("notes.txt");
    type(L"typed ");
    // Each change is in the journal at once, after a copy that names the file instead of
    // holding its text.
    RecoveryHeader header;
    EXPECT_EQ(copiedText(header), L"typed first line\r\n");
    EXPECT_TRUE(header.textInFile);
    EXPECT_LT(std::filesystem::file_size(programFolder() + "/" + copies().at(0)), 200u);
    EXPECT_EQ(header.path, path("notes.txt"));
    EXPECT_EQ(header.identity, identityOf(path("notes.txt")));
    EXPECT_EQ(header.format.encoding, Encoding::utf8);
    EXPECT_EQ(header.format.lineEnd, LineEnd::crLf);
    struct stat status;
    ASSERT_EQ(stat(programFolder().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    for (const char* kind : {".recovery", ".journal"}) {
        const std::string name = std::to_string(getpid()) + "-1" + kind;
        ASSERT_EQ(stat((programFolder() + "/" + name).c_str(), &status), 0) << name;
        EXPECT_EQ(status.st_mode & 0777, 0600u) << name;
    }

    hotKey(hotKeySave);
    EXPECT_TRUE(copies().empty()) << "saved, the text needs no copy";
}

TEST_F(RecoveryTest, TheCopyGoesWhenTheTextIsSavedOrDroppedAndStaysWhileItIsKept)
{
    writeFileBytes("other.txt", "other");
    struct Row {
        const char* name;
        std::function<void()> act;
        bool kept;
    };
    const Row rows[] = {
        {"New, Cancel", [&] { answerMessageBox(IDCANCEL), hotKey(hotKeyNew); }, true},
        {"New, a box that fails", [&] { answerMessageBox(0), hotKey(hotKeyNew); }, true},
        {"New, No", [&] { answerMessageBox(IDNO), hotKey(hotKeyNew); }, false},
        {"Open, No", [&] { answerMessageBox(IDNO), open("other.txt"); }, false},
        {"Save as", [&] { answerFileDialog(path("saved.txt")), hotKey(hotKeySaveAs); }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        type(L"x");
        tickUntilWritten();
        ASSERT_EQ(copies().size(), 1u);
        row.act();
        EXPECT_EQ(copies().size(), row.kept ? 1u : 0u);
    }
    type(L"y");
    tickUntilWritten();
    answerMessageBox(IDNO);
    clickCloseBox(mainWindow);
    processEvents();
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(namesIn(programFolder()).empty()) << "no copy and no lock stays";
}

TEST_F(RecoveryTest, ALinkPlantedAtTheCopysTemporaryNameIsRemovedAndNotWrittenThrough)
{
    writeFileBytes("elsewhere.txt", "not the editor's");
    std::filesystem::create_directories(programFolder());
    std::filesystem::permissions(programFolder(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    const std::string temporary = programFolder() + "/" + std::to_string(getpid()) + "-1.tmp";
    std::filesystem::create_symlink(folder() + "/elsewhere.txt", temporary);
    type(L"typed");
    tickUntilWritten();
    EXPECT_EQ(fileBytes("elsewhere.txt"), "not the editor's");
    RecoveryHeader header;
    EXPECT_EQ(copiedText(header), L"typed");
    EXPECT_FALSE(std::filesystem::is_symlink(temporary));
}

TEST_F(RecoveryTest, ALargeTextIsCopiedStepByStepAndAChangeGivesThatCopyUp)
{
    std::wstring large = largeText(3'000'000);
    // A line too long for EM_GETLINE, and characters no byte holds, among the others.
    large.insert(1'000'000, std::wstring(100'000, L'\x20ac') + L"\r\n");
    SetWindowTextW(Editor.editControl, large.c_str());
    type(L"x");
    SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
    EXPECT_TRUE(Recovery.writer.running()) << "one step does not write it all";
    EXPECT_TRUE(copies().empty());
    type(L"y");
    EXPECT_FALSE(Recovery.writer.running());
    EXPECT_TRUE(namesIn(programFolder()).size() == 1u) << "only the lock: the unfinished copy went";
    tickUntilWritten();
    RecoveryHeader header;
    EXPECT_EQ(copiedText(header), text());
    EXPECT_TRUE(header.path.empty());
}

TEST_F(RecoveryTest, ACopyThatCouldNotBeWrittenIsToldOnceLeavesNothingAndIsTriedAfterEachChange)
{
    wholeCopiesFirst();
    type(L"a");
    answerMessageBox(IDOK);
    failFileCall(FileCall::write, 1, ERROR_DISK_FULL);
    SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
    EXPECT_TRUE(copies().empty());
    EXPECT_EQ(namesIn(programFolder()).size(), 1u) << "only the lock: the temporary file went";
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_NE(shownBoxes()[0].text.find(L"could not keep a recovery copy of your unsaved text"),
              std::wstring::npos);
    EXPECT_EQ(shownBoxes()[0].type, UINT(MB_OK | MB_ICONWARNING));

    type(L"b");
    failFileCall(FileCall::write, 1, ERROR_DISK_FULL);
    SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
    EXPECT_TRUE(copies().empty());
    EXPECT_EQ(shownBoxes().size(), 1u) << "said once";

    type(L"c");
    tickUntilWritten();
    RecoveryHeader header;
    EXPECT_EQ(copiedText(header), L"abc");

    // After the copy, each change goes to its journal, which was open before the folder became
    // read-only and goes on taking them.
    chmod(programFolder().c_str(), 0500);
    type(L"d");
    SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
    EXPECT_EQ(copiedText(header), L"abcd");
    EXPECT_EQ(shownBoxes().size(), 1u);
    chmod(programFolder().c_str(), 0700);
}

TEST_F(RecoveryTest, AFinishedCopyThatCouldNotTakeItsNameTakesItOnTheTimer)
{
    wholeCopiesFirst();
    type(L"kept");
    answerMessageBox(IDOK);
    failFileCall(FileCall::rename, 1, ERROR_SHARING_VIOLATION);
    SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
    EXPECT_TRUE(platform::testing::waitFor([] { return Recovery.renaming; }));
    EXPECT_TRUE(copies().empty());
    // No key is pressed again.
    EXPECT_TRUE(platform::testing::waitFor([&] { return copies().size() == 1; }));
    RecoveryHeader header;
    EXPECT_EQ(copiedText(header), L"kept");
    EXPECT_EQ(namesIn(programFolder()).size(), 3u)
        << "the copy, its journal and the lock, no temporary file";
}

TEST_F(RecoveryTest, TheEndOfTheSessionWritesTheCopyBeforeItLetsTheSessionEnd)
{
    type(L"first");
    EXPECT_EQ(SendMessageW(mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    RecoveryHeader header;
    EXPECT_EQ(copiedText(header), L"first");
    type(L" second");
    EXPECT_EQ(copiedText(header), L"first second") << "each change is in the journal at once";
    EXPECT_EQ(SendMessageW(mainWindow, WM_ENDSESSION, FALSE, 0), 0);
    EXPECT_EQ(SendMessageW(mainWindow, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP), 0);
    EXPECT_EQ(copiedText(header), L"first second");
    EXPECT_TRUE(IsWindow(mainWindow)) << "the window is not destroyed, nothing is asked";
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(RecoveryTest, TheCopyKeepsTheEncodingAndLineEndsASaveWrites)
{
    writeFileBytes("notes.txt", "caf\xc3\xa9\r\nline\nend\n");
    open("notes.txt");
    type(L"more ");
    SendMessageW(mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    RecoveryHeader header;
    EXPECT_EQ(copiedText(header), L"more caf\xe9\r\nline\r\nend\r\n");
    EXPECT_EQ(header.format.encoding, Encoding::utf8);
    EXPECT_EQ(header.format.lineEnd, LineEnd::lf);
    EXPECT_EQ(header.mixedLineEnds.crLf, 1u);
    EXPECT_EQ(header.mixedLineEnds.lf, 2u);

    // Chosen in the Format menu, the form is the copy's too, and the file no longer mixed.
    command(commandLineEnd + WORD(LineEnd::crLf));
    SendMessageW(mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    copiedText(header);
    EXPECT_EQ(header.format.lineEnd, LineEnd::crLf);
    EXPECT_EQ(header.mixedLineEnds.crLf, 0u);
}

// A copy that an editor left when it ended without saving, written before this one starts.
class LeftCopyTest : public StartupTest {
protected:
    // As the editor makes it: the user's alone.
    void makeProgramFolder()
    {
        std::filesystem::create_directories(programFolder());
        std::filesystem::permissions(programFolder(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
    }

    void leaveCopy(const std::string& stem, const RecoveryHeader& header, const std::wstring& text)
    {
        makeProgramFolder();
        std::string bytes = headerBytes(header);
        appendTextBytes(text, bytes);
        std::ofstream(programFolder() + "/" + stem + ".recovery", std::ios::binary) << bytes;
        std::ofstream(programFolder() + "/" + stem + ".lock");
    }

    // Now, a few minutes ago, as the copy's header keeps it.
    static ULONGLONG minutesAgo(int minutes)
    {
        const auto since =
            std::chrono::system_clock::now().time_since_epoch() - std::chrono::minutes(minutes);
        return ULONGLONG(std::chrono::duration_cast<std::chrono::seconds>(since).count() +
                         11'644'473'600LL) *
               10'000'000ULL;
    }

    void leaveBytes(const std::string& stem, const std::string& bytes)
    {
        makeProgramFolder();
        std::ofstream(programFolder() + "/" + stem + ".recovery", std::ios::binary) << bytes;
        std::ofstream(programFolder() + "/" + stem + ".lock");
    }

    static std::string bytesOf(const std::string& name)
    {
        std::ifstream file(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    static std::wstring clockOf(ULONGLONG time)
    {
        const std::time_t seconds = std::time_t(time / 10'000'000ULL - 11'644'473'600ULL);
        std::tm local{};
        localtime_r(&seconds, &local);
        wchar_t text[8];
        std::swprintf(text, 8, L"%02d:%02d", local.tm_hour, local.tm_min);
        return text;
    }
};

TEST_F(LeftCopyTest, ACopyLeftBehindIsOfferedAndComesBackUnsavedUnderItsFilesName)
{
    writeFileBytes("notes.txt", "as it was read\r\n");
    const RecoveryHeader header{
        minutesAgo(3), path("notes.txt"), identityOf(path("notes.txt")), {}, {}};
    leaveCopy("4000000-1", header, L"restored \x20ac\r\ntext");
    startEditor();
    answerMessageBox(IDYES);
    Recovery.offer(mainWindow);
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_EQ(shownBoxes()[0].text, L"Quenwrite found unsaved text from " + clockOf(header.time) +
                                        L" (notes.txt). Restore it?");
    EXPECT_EQ(shownBoxes()[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(text(), L"restored \x20ac\r\ntext");
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
    EXPECT_EQ(Document.filePath(), path("notes.txt"));
    // The copy is this editor's own now; the old one and its lock are gone.
    EXPECT_EQ(namesIn(programFolder()),
              (std::vector<std::string>{std::to_string(getpid()) + "-1.lock",
                                        std::to_string(getpid()) + "-1.recovery"}));

    // The file changed after the editor that left the copy had read it: Save asks first.
    writeFileBytes("notes.txt", "changed meanwhile\r\n");
    answerMessageBox(IDNO);
    hotKey(hotKeySave);
    EXPECT_EQ(shownBoxes().back().text, L"notes.txt was changed by another program since you "
                                        L"opened it. Replace it with your text?");
    EXPECT_EQ(fileBytes("notes.txt"), "changed meanwhile\r\n");
}

TEST_F(LeftCopyTest, ARestoredTextSavesInTheEncodingAndLineEndsOfItsFile)
{
    // A UTF-8 file that mixes its line ends: the save asks before it writes them all as LF.
    writeFileBytes("notes.txt", "caf\xc3\xa9\r\nline\nend\n");
    const RecoveryHeader header{minutesAgo(2),
                                path("notes.txt"),
                                identityOf(path("notes.txt")),
                                {Encoding::utf8, LineEnd::lf},
                                {1, 2, 0}};
    leaveCopy("4000000-1", header, L"caf\xe9 again\r\nline\r\nend\r\n");
    startEditor();
    answerMessageBox(IDYES);
    Recovery.offer(mainWindow);
    answerMessageBox(IDYES);
    hotKey(hotKeySave);
    ASSERT_EQ(shownBoxes().size(), 2u);
    EXPECT_NE(shownBoxes().back().text.find(L"mixes line ends: 1 CR LF and 2 LF"),
              std::wstring::npos);
    EXPECT_EQ(fileBytes("notes.txt"), "caf\xc3\xa9 again\nline\nend\n");
    EXPECT_EQ(title(), L"notes.txt - Quenwrite");
}

TEST_F(LeftCopyTest, ADamagedCopyIsSaidOnceAndKeptUnderANameNeverOfferedAgain)
{
    const std::string damaged = "Quenwrite recovery copy\ntime 1\nfile 0 0 0 0 0\n"
                                "path 18446744073709551615\na.txt\n\ntext";
    leaveBytes("4000000-1", damaged);
    leaveBytes("4000001-1", "");
    // A time no calendar holds is still a copy, only its time is not told.
    leaveCopy("4000002-1", {~0ULL, L"", {}, {}, {}}, L"whole");
    startEditor();
    answerMessageBox(IDOK);
    answerMessageBox(IDNO);
    Recovery.offer(mainWindow);
    ASSERT_EQ(shownBoxes().size(), 2u);
    EXPECT_EQ(shownBoxes()[0].type, UINT(MB_OK | MB_ICONWARNING));
    EXPECT_NE(shownBoxes()[0].text.find(L"damaged, so nothing was restored"), std::wstring::npos);
    EXPECT_NE(shownBoxes()[0].text.find(L"\n4000000-1.damaged"), std::wstring::npos);
    EXPECT_NE(shownBoxes()[0].text.find(L"\n4000001-1.damaged"), std::wstring::npos);
    EXPECT_EQ(shownBoxes()[1].text,
              L"Quenwrite found unsaved text from an earlier session (New file). Restore it?");
    EXPECT_EQ(text(), L"");
    EXPECT_EQ(namesIn(programFolder()),
              (std::vector<std::string>{"4000000-1.damaged", "4000001-1.damaged"}));
    EXPECT_EQ(bytesOf(programFolder() + "/4000000-1.damaged"), damaged);

    Recovery.offer(mainWindow);
    EXPECT_EQ(shownBoxes().size(), 2u) << "said once";
}

TEST_F(LeftCopyTest, AFolderThatIsNotTheUsersAloneIsNeitherTrustedNorWritten)
{
    namespace fs = std::filesystem;
    leaveCopy("4000000-1", {minutesAgo(1), L"", {}, {}, {}}, L"planted");
    const fs::path real = stateFolder() + "/elsewhere";
    struct Row {
        const char* name;
        std::function<void()> make;
    };
    std::vector<Row> rows = {
        {"others may read", [&] { chmod(programFolder().c_str(), 0704); }},
        {"the group may write", [&] { chmod(programFolder().c_str(), 0730); }},
        {"a link to the user's own folder",
         [&] {
             chmod(programFolder().c_str(), 0700);
             fs::rename(programFolder(), real);
             fs::create_directory_symlink(real, programFolder());
         }},
    };
    // Only root can give a folder away.
    if (geteuid() == 0)
        rows.push_back({"another user's", [&] {
                            fs::remove(programFolder());
                            fs::rename(real, programFolder());
                            ASSERT_EQ(chown(programFolder().c_str(), 4321, 4321), 0);
                        }});
    startEditor();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.make();
        Recovery.offer(mainWindow);
        EXPECT_TRUE(shownBoxes().empty());
        EXPECT_EQ(text(), L"");
    }
    type(L"mine");
    SendMessageW(mainWindow, WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(namesIn(programFolder()),
              (std::vector<std::string>{"4000000-1.lock", "4000000-1.recovery"}))
        << "no copy is written there";
}

TEST_F(LeftCopyTest, ARestoredCopysFileIsOnlyWhereASaveMayGo)
{
    writeFileBytes("notes.txt", "the file\r\n");
    const std::wstring wrong[] = {
        L"notes.txt",
        path("sub") + L"/../notes.txt",
        path("notes.txt") + std::wstring(1, L'\0') + L"x",
    };
    startEditor();
    for (const std::wstring& name : wrong) {
        SCOPED_TRACE(testing::PrintToString(name));
        leaveCopy("4000000-1", {minutesAgo(1), name, identityOf(path("notes.txt")), {}, {}},
                  L"restored");
        answerMessageBox(IDYES);
        Recovery.offer(mainWindow);
        EXPECT_EQ(text(), L"restored");
        EXPECT_EQ(Document.filePath(), L"") << "no file: Save asks for one";
    }
    answerFileDialog(path("chosen.txt"));
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("chosen.txt"), "restored");
    EXPECT_EQ(fileBytes("notes.txt"), "the file\r\n");
}

TEST_F(LeftCopyTest, ACopyTheEditControlTookOnlyPartOfIsNotRestoredAndStaysWhole)
{
    leaveCopy("4000000-1", {minutesAgo(1), L"", {}, {}, {}}, L"the whole text");
    const std::string before = bytesOf(programFolder() + "/4000000-1.recovery");
    startEditor();
    fillEditControl(Editor.editControl);
    answerMessageBox(IDYES);
    answerMessageBox(IDOK);
    Recovery.offer(mainWindow);
    freeEditControl(Editor.editControl);
    ASSERT_EQ(shownBoxes().size(), 2u);
    EXPECT_NE(shownBoxes()[1].text.find(L"not enough memory"), std::wstring::npos);
    EXPECT_EQ(text(), L"");
    EXPECT_EQ(title(), L"New file - Quenwrite");
    EXPECT_EQ(namesIn(programFolder()),
              (std::vector<std::string>{"4000000-1.lock", "4000000-1.recovery"}));
    EXPECT_EQ(bytesOf(programFolder() + "/4000000-1.recovery"), before);
}

TEST_F(LeftCopyTest, ACopyLargerThanOpenTakesIsRefusedBeforeItIsRead)
{
    leaveCopy("4000000-1", {minutesAgo(1), L"", {}, {}, {}}, L"text");
    const std::string copy = programFolder() + "/4000000-1.recovery";
    std::filesystem::resize_file(copy, std::uintmax_t(largestOpenableFile()) + 1); // sparse
    startEditor();
    answerMessageBox(IDYES);
    answerMessageBox(IDOK);
    Recovery.offer(mainWindow);
    ASSERT_EQ(shownBoxes().size(), 2u);
    EXPECT_NE(shownBoxes()[1].text.find(L"8,589,934,585 bytes"), std::wstring::npos)
        << shownBoxes()[1].text;
    EXPECT_EQ(text(), L"");
    EXPECT_TRUE(std::filesystem::exists(copy)) << "kept for a later start";
}

TEST_F(LeftCopyTest, ARestoredTextIsNeverReplacedByTheFileNamedOnTheCommandLine)
{
    writeFileBytes("named.txt", "the named file");
    leaveCopy("4000000-1", {minutesAgo(2), L"", {}, {}, {}}, L"not wanted");
    startEditor();
    // Not restored: the named file opens.
    answerMessageBox(IDNO);
    openFirstText(mainWindow, L"named.txt");
    EXPECT_EQ(text(), L"the named file");
    EXPECT_EQ(Document.filePath(), path("named.txt"));

    leaveCopy("4000001-1", {minutesAgo(1), L"", {}, {}, {}}, L"restored");
    answerMessageBox(IDYES);
    answerMessageBox(IDOK);
    openFirstText(mainWindow, L"named.txt");
    ASSERT_EQ(shownBoxes().size(), 3u) << "no save question";
    EXPECT_NE(shownBoxes()[2].text.find(L"did not open"), std::wstring::npos);
    EXPECT_EQ(text(), L"restored");
    EXPECT_EQ(Document.filePath(), L"");
    EXPECT_EQ(namesIn(programFolder()),
              (std::vector<std::string>{std::to_string(getpid()) + "-1.lock",
                                        std::to_string(getpid()) + "-1.recovery"}));
}

TEST_F(LeftCopyTest, NoRemovesTheCopyAndABoxThatFailsKeepsIt)
{
    leaveCopy("4000000-1", {minutesAgo(1), L"", {}, {}, {}}, L"old");
    startEditor();
    answerMessageBox(0);
    Recovery.offer(mainWindow);
    EXPECT_EQ(text(), L"");
    EXPECT_EQ(namesIn(programFolder()),
              (std::vector<std::string>{"4000000-1.lock", "4000000-1.recovery"}));
    EXPECT_NE(shownBoxes().back().text.find(L"(New file)"), std::wstring::npos);
    answerMessageBox(IDNO);
    Recovery.offer(mainWindow);
    EXPECT_EQ(text(), L"");
    EXPECT_EQ(title(), L"New file - Quenwrite");
    EXPECT_TRUE(namesIn(programFolder()).empty());
}

TEST_F(LeftCopyTest, ACopyWhoseEditorStillRunsIsNotOfferedAndTheNewestComesFirst)
{
    leaveCopy("4000000-1", {minutesAgo(9), path("older.txt"), {}, {}, {}}, L"older");
    leaveCopy("4000001-1", {minutesAgo(2), path("newer.txt"), {}, {}, {}}, L"newer");
    leaveCopy("4000002-1", {minutesAgo(1), path("running.txt"), {}, {}, {}}, L"running");
    // The running editor holds its lock open without sharing.
    const std::wstring lock = std::filesystem::path(programFolder() + "/4000002-1.lock").wstring();
    HANDLE held = CreateFileW(lock.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    startEditor();
    answerMessageBox(IDYES);
    Recovery.offer(mainWindow);
    ASSERT_EQ(shownBoxes().size(), 1u) << "after Yes the others wait for a later start";
    EXPECT_NE(shownBoxes()[0].text.find(L"(newer.txt)"), std::wstring::npos);
    EXPECT_EQ(text(), L"newer");
    const auto names = namesIn(programFolder());
    EXPECT_NE(std::find(names.begin(), names.end(), "4000000-1.recovery"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "4000002-1.recovery"), names.end());
    CloseHandle(held);
}

TEST_F(LeftCopyTest, AnEditorNeverWritesOverACopyLeftUnderItsOwnProcessNumber)
{
    const std::string left = std::to_string(getpid()) + "-1.recovery";
    leaveCopy(std::to_string(getpid()) + "-1", {minutesAgo(5), L"", {}, {}, {}}, L"left");
    startEditor();
    answerMessageBox(0); // the question could not be asked: the copy waits
    Recovery.offer(mainWindow);
    wholeCopiesFirst();
    type(L"mine");
    SendMessageW(mainWindow, WM_QUERYENDSESSION, 0, 0);
    const std::string bytes = bytesOf(programFolder() + "/" + left);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "left");
    const std::string mine =
        bytesOf(programFolder() + "/" + std::to_string(getpid()) + "-2.recovery");
    ASSERT_GE(mine.size(), 4u);
    EXPECT_EQ(mine.substr(mine.size() - 4), "mine");
}

TEST_F(LeftCopyTest, LocksLeftWithoutACopyAreRemovedUnlessTheirEditorRuns)
{
    makeProgramFolder();
    std::ofstream(programFolder() + "/4000000-1.lock");
    std::ofstream(programFolder() + "/4000001-1.lock");
    const std::wstring running =
        std::filesystem::path(programFolder() + "/4000001-1.lock").wstring();
    HANDLE held = CreateFileW(running.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    startEditor();
    Recovery.offer(mainWindow);
    EXPECT_TRUE(shownBoxes().empty());
    EXPECT_EQ(namesIn(programFolder()), std::vector<std::string>{"4000001-1.lock"});
    CloseHandle(held);
}

TEST_F(LeftCopyTest, WithoutCopiesStartUpAsksNothingAndMakesNoFolder)
{
    startEditor();
    Recovery.offer(mainWindow);
    EXPECT_TRUE(shownBoxes().empty());
    EXPECT_FALSE(std::filesystem::exists(stateFolder()));
}

} // namespace
