// The file calls' own rules: a path's name, the temporary file's name beside its target, and a
// read that trusts the bytes it gets over the size a file gave.
#include "files/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

TEST(FileNameOf, TakesThePartAfterTheLastSeparatorOfEitherKind)
{
    const struct {
        std::wstring path;
        std::wstring name;
    } cases[] = {
        {L"D:\\docs\\notes.txt", L"notes.txt"},
        {L"D:/docs/notes.txt", L"notes.txt"},
        {L"D:\\docs/sub\\notes.txt", L"notes.txt"},
        {L"/home/a/b/notes.txt", L"notes.txt"},
        {L"notes.txt", L"notes.txt"},
        {L"D:\\docs\\", L""},
        {L"a.b.txt", L"a.b.txt"},
        {L"", L""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.path.begin(), row.path.end()));
        EXPECT_EQ(fileNameOf(row.path), row.name);
    }
}

TEST(TemporaryFile, ItsNameStaysWithinReachWhereTheTargetIsAtTheLimit)
{
    const std::wstring folder = L"C:\\" + std::wstring(240, L'd');
    struct Row {
        const char* name;
        std::wstring target;
        std::wstring temporary;
    };
    const Row rows[] = {
        {"short", L"C:\\docs\\a.txt", L"C:\\docs\\.quenwrite-1.tmp"},
        {"a target of 259 units, a temporary name longer than MAX_PATH allows",
         folder + L"\\" + std::wstring(11, L'n') + L".txt",
         L"\\\\?\\" + folder + L"\\.quenwrite-1.tmp"},
        {"a share", L"\\\\server\\" + std::wstring(250, L's') + L"\\a.txt",
         L"\\\\?\\UNC\\server\\" + std::wstring(250, L's') + L"\\.quenwrite-1.tmp"},
        {"the long form already", L"\\\\?\\" + folder + L"\\" + std::wstring(30, L'n'),
         L"\\\\?\\" + folder + L"\\.quenwrite-1.tmp"},
        {"Linux", L"/home/u/a.txt", L"/home/u/.quenwrite-1.tmp"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(temporaryPathFor(row.target, 1), row.temporary);
    }
    EXPECT_EQ(rows[1].target.size(), 259u);
}

TEST(FileRead, AFileThatHoldsMoreThanItsSizeSaidIsReadWhole)
{
    // The kernel's files say they are empty: the read goes on to the end all the same.
    const std::string name = "/proc/version";
    std::stringstream expected;
    expected << std::ifstream(name).rdbuf();
    ASSERT_FALSE(expected.str().empty());
    std::string bytes;
    EXPECT_EQ(readWholeFile(std::filesystem::path(name).wstring(), bytes), ERROR_SUCCESS);
    EXPECT_EQ(bytes, expected.str());
}
