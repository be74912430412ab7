// Saving a file that is reached through a symbolic link, or that has several names: the link
// stays a link and its target takes the text, on whatever volume it is, and every name of a
// file shows the new text.
#include "app/commands.h"
#include "editor/editor.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform::testing;
namespace fs = std::filesystem;

namespace {

class LinksTest : public EditorTest {
protected:
    // A new folder on another file system than the test's folder, "" when there is none.
    std::string folderElsewhere()
    {
        struct stat here;
        struct stat there;
        if (stat(folder().c_str(), &here) != 0)
            return {};
        for (const std::string candidate : {"/dev/shm", "/run/shm", "/var/tmp", "/run"}) {
            if (stat(candidate.c_str(), &there) != 0 || there.st_dev == here.st_dev ||
                access(candidate.c_str(), W_OK) != 0)
                continue;
            std::string pattern = candidate + "/quenwrite-link-XXXXXX";
            if (mkdtemp(pattern.data()))
                return elsewhere_ = pattern;
        }
        return {};
    }
    void TearDown() override
    {
        if (!elsewhere_.empty())
            fs::remove_all(elsewhere_);
        EditorTest::TearDown();
    }
    nlink_t linksOf(const std::string& name)
    {
        struct stat status;
        return stat((folder() + "/" + name).c_str(), &status) == 0 ? status.st_nlink : 0;
    }

    std::string elsewhere_;
};

TEST_F(LinksTest, SavingThroughASymbolicLinkWritesItsTargetOnAnotherVolume)
{
    const std::string elsewhere = folderElsewhere();
    if (elsewhere.empty())
        GTEST_SKIP() << "no second writable file system to link across";
    const std::string real = elsewhere + "/real.txt";
    std::ofstream(real, std::ios::binary) << "old";
    fs::create_symlink(real, folder() + "/notes.txt");
    open("notes.txt");
    for (const std::string typed : {"new ", "more "}) {
        SCOPED_TRACE(typed);
        type(std::wstring(typed.begin(), typed.end()));
        const std::wstring shown = text();
        const std::string expected(shown.begin(), shown.end());
        hotKey(hotKeySave);
        EXPECT_TRUE(shownBoxes().empty()) << std::string(lastBox().begin(), lastBox().end());
        EXPECT_EQ(title(), L"notes.txt - Quenwrite");
        EXPECT_TRUE(fs::is_symlink(folder() + "/notes.txt"));
        EXPECT_EQ(fileBytes("notes.txt"), expected);
        EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"notes.txt"});
        EXPECT_EQ(namesIn(elsewhere), std::vector<std::string>{"real.txt"});
    }
}

TEST_F(LinksTest, AFileWithSeveralNamesIsWrittenInPlaceAndPutBackAfterAFailure)
{
    writeFileBytes("notes.txt", "old");
    fs::create_hard_link(folder() + "/notes.txt", folder() + "/other.txt");
    const std::vector<std::string> names = {"notes.txt", "other.txt"};
    open("notes.txt");
    type(L"new ");
    // The set-aside copy is the first write, the text over the file's bytes the second.
    failFileCall(FileCall::write, 2, ERROR_DISK_FULL);
    answerMessageBox(IDOK);
    hotKey(hotKeySave);
    EXPECT_NE(lastBox().find(L"The file was not changed"), std::wstring::npos);
    EXPECT_EQ(fileBytes("notes.txt"), "old");
    EXPECT_EQ(fileBytes("other.txt"), "old");
    EXPECT_EQ(linksOf("notes.txt"), 2u);
    EXPECT_EQ(namesIn(folder()), names);
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite");

    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("notes.txt"), "new old");
    EXPECT_EQ(fileBytes("other.txt"), "new old");
    EXPECT_EQ(linksOf("notes.txt"), 2u);
    EXPECT_EQ(namesIn(folder()), names);
    EXPECT_EQ(title(), L"notes.txt - Quenwrite");
}

} // namespace
