// The recovery journal: its records read back as they were written, a record cut short or damaged
// ends the reading there, a journal of another copy is not read at all; and at start-up a
// journal's changes are made again on its copy's text, or on the file that copy names.
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "files/file_identity.h"
#include "recovery/journal.h"
#include "recovery/journal_file.h"
#include "recovery/recovery.h"
#include "recovery/recovery_file.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace platform::testing;

namespace {

struct Made {
    std::size_t position, removed;
    std::wstring inserted;
};

std::string journalOf(ULONGLONG base, const std::vector<Made>& changes)
{
    std::string bytes = journalStart(base);
    for (const Made& change : changes)
        appendJournalRecord(change.position, change.removed, change.inserted, bytes);
    return bytes;
}

std::vector<Made> readBack(const std::string& bytes, ULONGLONG base, JournalRead& read)
{
    std::vector<Made> changes;
    read = readJournal(bytes, base, [&](const JournalChange& change) {
        changes.push_back({change.position, change.removed, change.inserted});
        return true;
    });
    return changes;
}

TEST(JournalFile, RecordsReadBackUntilOneIsCutShortOrDamaged)
{
    const std::vector<Made> written = {
        {0, 0, L"typed"}, {5, 0, L"\r\n"}, {2, 3, L""}, {0, 0, L"\xD83D\xDE00 \x20ac"}};
    const std::string bytes = journalOf(77, written);
    JournalRead read;
    std::vector<Made> changes = readBack(bytes, 77, read);
    ASSERT_EQ(changes.size(), written.size());
    EXPECT_TRUE(read.whole);
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(changes[i].position, written[i].position);
        EXPECT_EQ(changes[i].removed, written[i].removed);
        EXPECT_EQ(changes[i].inserted, written[i].inserted);
    }
    EXPECT_LT(bytes.size() - journalStart(77).size(), 4 * 40u) << "a key costs a few bytes";

    // Cut anywhere inside the last record: the others come back, and the reading says so.
    const std::size_t lastStart = journalOf(77, {written.begin(), written.end() - 1}).size();
    for (std::size_t cut = lastStart + 1; cut < bytes.size(); ++cut) {
        changes = readBack(bytes.substr(0, cut), 77, read);
        EXPECT_EQ(changes.size(), written.size() - 1) << "cut at " << cut;
        EXPECT_FALSE(read.whole);
    }
    // Any byte of a record changed: that record and what follows are not taken.
    for (std::size_t at = journalStart(77).size(); at < bytes.size(); ++at) {
        std::string damaged = bytes;
        damaged[at] = char(damaged[at] ^ 0x10);
        readBack(damaged, 77, read);
        EXPECT_FALSE(read.whole) << "byte " << at;
        EXPECT_LT(read.changes, written.size());
    }
    readBack(bytes, 78, read);
    EXPECT_FALSE(read.started) << "the journal of another copy";
    readBack("", 77, read);
    EXPECT_FALSE(read.started);
}

// A copy of that time whose text is the file's (or, without a file, held in the copy).
RecoveryHeader copyOf(ULONGLONG time, const std::wstring& file, TextFormat format)
{
    RecoveryHeader header;
    header.time = time;
    header.path = file;
    header.format = format;
    header.textInFile = !file.empty();
    if (!file.empty())
        header.identity = identityOf(file);
    return header;
}

// A copy and its journal, as an editor that was killed left them.
class JournalRestoreTest : public StartupTest {
protected:
    void leave(const RecoveryHeader& header, const std::wstring& text, const std::string& journal)
    {
        std::filesystem::create_directories(programFolder());
        std::filesystem::permissions(programFolder(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
        std::string bytes = headerBytes(header);
        appendTextBytes(text, bytes);
        const std::string stem = programFolder() + "/4000000-1";
        std::ofstream(stem + ".recovery", std::ios::binary) << bytes;
        std::ofstream(stem + ".journal", std::ios::binary) << journal;
        std::ofstream(stem + ".lock");
    }
    // Yes to the question, and OK to the word on what could not be restored, when one comes.
    void restore(bool told = true)
    {
        startEditor();
        answerMessageBox(IDYES);
        if (told)
            answerMessageBox(IDOK);
        Recovery.offer(mainWindow);
    }
};

TEST_F(JournalRestoreTest, TheChangesAreMadeAgainOnTheFileTheCopyNames)
{
    writeFileBytes("notes.txt", "first line\nsecond line\n");
    const RecoveryHeader header = copyOf(1000, path("notes.txt"), {Encoding::utf8, LineEnd::lf});
    // "middle " typed into the second line, then the first line's "first " erased.
    leave(header, L"", journalOf(1000, {{19, 0, L"m"}, {20, 0, L"iddle "}, {0, 6, L""}}));
    restore(false);
    EXPECT_EQ(text(), L"line\r\nsecond middle line\r\n");
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
    EXPECT_EQ(shownBoxes().size(), 1u) << "only the question: every change came back";
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("notes.txt"), "line\nsecond middle line\n");
}

TEST_F(JournalRestoreTest, AJournalCutShortGivesWhatItHoldsAndSaysSo)
{
    std::string journal = journalOf(2000, {{0, 0, L"kept "}, {5, 0, L"lost"}});
    journal.resize(journal.size() - 3);
    leave(copyOf(2000, L"", {}), L"text", journal);
    restore();
    EXPECT_EQ(text(), L"kept text");
    ASSERT_EQ(shownBoxes().size(), 2u);
    EXPECT_NE(shownBoxes()[1].text.find(L"could not all be read back"), std::wstring::npos);
}

TEST_F(JournalRestoreTest, AFileThatChangedSinceCannotTakeTheChangesAndIsToldOnce)
{
    writeFileBytes("notes.txt", "as it was\n");
    const RecoveryHeader header = copyOf(3000, path("notes.txt"), {});
    leave(header, L"", journalOf(3000, {{0, 0, L"typed "}}));
    writeFileBytes("notes.txt", "changed by another program\n");
    restore();
    EXPECT_EQ(text(), L"") << "nothing that was not typed on that text";
    ASSERT_EQ(shownBoxes().size(), 2u);
    EXPECT_NE(shownBoxes()[1].text.find(L"the file has changed since"), std::wstring::npos);
    EXPECT_TRUE(std::filesystem::exists(programFolder() + "/4000000-1.damaged"));
    EXPECT_FALSE(std::filesystem::exists(programFolder() + "/4000000-1.recovery"))
        << "never offered again";
}

} // namespace
