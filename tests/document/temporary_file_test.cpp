// The temporary file a save writes beside its target: nobody but its owner may read the new text
// before it takes the file's place, and what crashed saves left behind goes once provably stale.
#include "app/commands.h"
#include "editor/editor.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform::testing;

namespace {

class TemporaryFileTest : public EditorTest {
protected:
    mode_t modeOf(const std::string& name)
    {
        struct stat status;
        return stat((folder() + "/" + name).c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
    }
};

TEST_F(TemporaryFileTest, TheNewTextIsForItsOwnerAloneUntilItTakesTheFilesPlace)
{
    writeFileBytes("notes.txt", "old");
    chmod((folder() + "/notes.txt").c_str(), 0644);
    open("notes.txt");
    type(L"private ");
    // The replacement fails and the temporary file cannot be removed: it stays to be looked at.
    failFileCall(FileCall::rename, 1, ERROR_DISK_FULL);
    failFileCall(FileCall::remove, 1, ERROR_ACCESS_DENIED);
    answerMessageBox(IDOK);
    hotKey(hotKeySave);
    ASSERT_EQ(fileBytes(".quenwrite-1.tmp"), "private old");
    EXPECT_EQ(modeOf(".quenwrite-1.tmp"), 0600u);
    std::filesystem::remove(folder() + "/.quenwrite-1.tmp");

    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("notes.txt"), "private old");
    EXPECT_EQ(modeOf("notes.txt"), 0644u) << "the file keeps its own permissions";
}

TEST_F(TemporaryFileTest, LeftoversGoOnlyWhenNobodyUsesThemAndTheyAreADayOld)
{
    writeFileBytes("notes.txt", "old");
    const auto leftover = [](int number) {
        return ".quenwrite-" + std::to_string(number) + ".tmp";
    };
    const auto twoDaysAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
    for (int number = 1; number <= 100; ++number) {
        writeFileBytes(leftover(number), "crashed save");
        if (number != 2)
            std::filesystem::last_write_time(folder() + "/" + leftover(number), twoDaysAgo);
    }
    writeFileBytes(".quenwrite-x.tmp", "not one of ours");
    std::filesystem::last_write_time(folder() + "/.quenwrite-x.tmp", twoDaysAgo);
    // Another running editor writes number 3: it holds the file open without sharing.
    const int inUse = ::open((folder() + "/" + leftover(3)).c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(inUse, 0);
    ASSERT_EQ(flock(inUse, LOCK_EX | LOCK_NB), 0);

    open("notes.txt");
    type(L"new ");
    hotKey(hotKeySave);
    close(inUse);
    EXPECT_EQ(fileBytes("notes.txt"), "new old");
    EXPECT_EQ(title(), L"notes.txt - Quenwrite");
    const std::vector<std::string> kept = {".quenwrite-2.tmp", ".quenwrite-3.tmp",
                                           ".quenwrite-x.tmp", "notes.txt"};
    EXPECT_EQ(namesIn(folder()), kept);
}

} // namespace
