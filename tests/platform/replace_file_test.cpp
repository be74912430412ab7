// The layer's ReplaceFileW as strict as Windows: the backup name, the end states its documented
// failures leave, write access to the replaced file, and what the replacement takes from it.
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/files.h"
#include "tests/support/other_user.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform::testing;

namespace {

class ReplaceFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quenwrite-replace-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    void write(const std::string& name, const std::string& bytes, mode_t mode = 0644)
    {
        std::ofstream(at(name), std::ios::binary) << bytes;
        chmod(at(name).c_str(), mode);
    }
    std::string read(const std::string& name)
    {
        std::ifstream file(at(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    std::string at(const std::string& name) const { return folder_ + "/" + name; }
    std::wstring wide(const std::string& name) const
    {
        return std::filesystem::path(at(name)).wstring();
    }
    BOOL replace(const char* backup)
    {
        return ReplaceFileW(wide("target").c_str(), wide("new").c_str(),
                            backup ? wide(backup).c_str() : nullptr, 0, nullptr, nullptr);
    }

    std::string folder_;
};

TEST_F(ReplaceFileTest, EachDocumentedFailureLeavesTheFilesAsWindowsLeavesThem)
{
    struct Row {
        const char* name;
        DWORD error; // injected; ERROR_SUCCESS lets the call act
        const char* backup;
        std::vector<std::string> names;
        std::string targetText; // "" when the target's name is empty
    };
    const Row rows[] = {
        {"success with a backup", ERROR_SUCCESS, "backup", {"backup", "target"}, "new"},
        {"success without one", ERROR_SUCCESS, nullptr, {"target"}, "new"},
        {"1175", ERROR_UNABLE_TO_REMOVE_REPLACED, "backup", {"new", "target"}, "old"},
        {"1176 with a backup",
         ERROR_UNABLE_TO_MOVE_REPLACEMENT,
         "backup",
         {"new", "target"},
         "old"},
        {"1176 without one", ERROR_UNABLE_TO_MOVE_REPLACEMENT, nullptr, {"new"}, ""},
        {"1177 with a backup", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, "backup", {"backup", "new"}, ""},
        {"other errors", ERROR_DISK_FULL, "backup", {"new", "target"}, "old"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const std::string& name : namesIn(folder_))
            std::filesystem::remove(at(name));
        write("target", "old", 0640);
        write("new", "new");
        if (row.error != ERROR_SUCCESS)
            failFileCall(FileCall::rename, 1, row.error);
        EXPECT_EQ(replace(row.backup), row.error == ERROR_SUCCESS);
        if (row.error != ERROR_SUCCESS) {
            EXPECT_EQ(GetLastError(), row.error);
        }
        EXPECT_EQ(namesIn(folder_), row.names);
        if (!row.targetText.empty()) {
            EXPECT_EQ(read("target"), row.targetText);
        }
        if (row.backup && std::filesystem::exists(at(row.backup))) {
            EXPECT_EQ(read(row.backup), "old");
        }
    }
    // 1177: the replacement already carries the replaced file's mode; without a backup name the
    // replaced file is under a name of the system's choosing.
    for (const std::string& name : namesIn(folder_))
        std::filesystem::remove(at(name));
    write("target", "old", 0640);
    write("new", "new");
    failFileCall(FileCall::rename, 1, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    EXPECT_FALSE(replace(nullptr));
    const std::vector<std::string> names = namesIn(folder_);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "new");
    EXPECT_EQ(read(names[1]), "old");
    struct stat status;
    ASSERT_EQ(stat(at("new").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// The replaced file is written by the user, not merely renamed in a folder the user may write;
// what the user may keep of its group and mode is kept.
TEST_F(ReplaceFileTest, NeedsWriteAccessToTheReplacedFileAndKeepsItsGroup)
{
    if (!mayBecomeOtherUser())
        GTEST_SKIP() << "only root can run a part of the test as another user";
    constexpr gid_t sharedGroup = 4242;
    chmod(folder_.c_str(), 0777);
    write("theirs", "theirs", 0644);
    write("shared", "shared", 0664);
    ASSERT_EQ(chown(at("shared").c_str(), 0, sharedGroup), 0);
    const auto replaceAs = [this](const std::string& replaced) {
        std::ofstream(at("new"), std::ios::binary) << "new";
        if (!ReplaceFileW(wide(replaced).c_str(), wide("new").c_str(), nullptr, 0, nullptr,
                          nullptr))
            return GetLastError() == ERROR_ACCESS_DENIED ? 1 : 2;
        return 0;
    };
    EXPECT_EQ(asOtherUser({}, [&] { return replaceAs("theirs"); }), 1);
    EXPECT_EQ(read("theirs"), "theirs");
    std::filesystem::remove(at("new"));

    EXPECT_EQ(asOtherUser({sharedGroup}, [&] { return replaceAs("shared"); }), 0);
    EXPECT_EQ(read("shared"), "new");
    struct stat status;
    ASSERT_EQ(stat(at("shared").c_str(), &status), 0);
    EXPECT_EQ(status.st_gid, sharedGroup);
    EXPECT_EQ(status.st_mode & 07777, 0664u);
}

} // namespace
