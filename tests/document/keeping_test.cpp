// What a saved file keeps of itself: its extended attributes, its owner, and its place in a folder
// the user may not write, where it is written in place after a copy is set aside.
#include "app/commands.h"
#include "editor/editor.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"
#include "tests/support/other_user.h"

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/xattr.h>

using namespace platform::testing;

namespace {

class KeepingTest : public EditorTest {};

TEST_F(KeepingTest, ASavedFileKeepsItsExtendedAttributes)
{
    writeFileBytes("notes.txt", "old");
    const std::string file = folder() + "/notes.txt";
    const std::string value = "kept by another program";
    if (setxattr(file.c_str(), "user.note", value.data(), value.size(), 0) != 0)
        GTEST_SKIP() << "the test's file system keeps no extended attributes";
    open("notes.txt");
    type(L"new ");
    hotKey(hotKeySave);
    EXPECT_EQ(fileBytes("notes.txt"), "new old");
    std::string read(64, '\0');
    const ssize_t length = getxattr(file.c_str(), "user.note", read.data(), read.size());
    ASSERT_GE(length, 0) << "the attribute was lost";
    read.resize(std::size_t(length));
    EXPECT_EQ(read, value);
}

TEST_F(KeepingTest, AWritableFileInAFolderTheUserMayNotWriteIsWrittenInPlace)
{
    writeFileBytes("notes.txt", "old");
    struct stat before;
    ASSERT_EQ(stat((folder() + "/notes.txt").c_str(), &before), 0);
    // No write bit: read-only for everyone in the layer, root included, as on Windows.
    chmod(folder().c_str(), 0555);
    open("notes.txt");
    type(L"new ");
    hotKey(hotKeySave);
    chmod(folder().c_str(), 0755);
    EXPECT_TRUE(shownBoxes().empty()) << std::string(lastBox().begin(), lastBox().end());
    EXPECT_EQ(fileBytes("notes.txt"), "new old");
    EXPECT_EQ(title(), L"notes.txt - Quenwrite");
    struct stat after;
    ASSERT_EQ(stat((folder() + "/notes.txt").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, written in place";
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"notes.txt"});
    for (const std::string& name : namesIn(programFolder()))
        EXPECT_EQ(name.find(".quenwrite-"), std::string::npos) << "the copy set aside stays";
}

// Replacing another user's file would make it the saver's, which only its owner could undo.
TEST_F(KeepingTest, SomeoneElsesFileIsWrittenInPlaceAndStaysTheirs)
{
    if (!mayBecomeOtherUser())
        GTEST_SKIP() << "only root can give a file to another user";
    writeFileBytes("shared.txt", "old");
    const std::string file = folder() + "/shared.txt";
    ASSERT_EQ(chown(file.c_str(), otherUser, otherUser), 0);
    ASSERT_EQ(chmod(file.c_str(), 0666), 0);
    struct stat before;
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    open("shared.txt");
    type(L"new ");
    hotKey(hotKeySave);
    EXPECT_TRUE(shownBoxes().empty()) << std::string(lastBox().begin(), lastBox().end());
    EXPECT_EQ(fileBytes("shared.txt"), "new old");
    struct stat after;
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, written in place";
    EXPECT_EQ(after.st_uid, otherUser);
    EXPECT_EQ(after.st_gid, otherUser);
    EXPECT_EQ(after.st_mode & 07777, 0666u);
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"shared.txt"});
}

} // namespace
