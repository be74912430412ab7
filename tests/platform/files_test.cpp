// The layer's KERNEL32 file calls and file dialogs keep Windows' promises on POSIX: its error
// codes, its refusals, its lexical full paths and the dialog's buffer rule.
#include "platform/testing/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform::testing;

namespace {

class LayerFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quenwrite-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        std::filesystem::current_path(folder_);
    }
    void TearDown() override
    {
        std::filesystem::current_path("/tmp");
        std::filesystem::remove_all(folder_);
    }
    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder_ + "/" + name, std::ios::binary) << bytes;
    }
    std::wstring wide(const std::string& name) const
    {
        return std::filesystem::path(folder_ + "/" + name).wstring();
    }
    std::string folder_;
};

TEST_F(LayerFilesTest, CreateFileWFailsWithTheErrorWindowsGives)
{
    write("file.txt", "x");
    write("locked.txt", "x");
    chmod((folder_ + "/locked.txt").c_str(), 0444);
    std::filesystem::create_directory(folder_ + "/folder");
    struct Row {
        std::string name;
        DWORD access;
        DWORD disposition;
        DWORD error;
    };
    const Row rows[] = {
        {"missing.txt", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {"nowhere/file.txt", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"nowhere/file.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"file.txt/below", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"folder", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"file.txt", GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
        {"locked.txt", GENERIC_WRITE, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring name = row.name.empty() ? L"" : wide(row.name);
        SetLastError(0);
        EXPECT_EQ(CreateFileW(name.c_str(), row.access, 0, nullptr, row.disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), row.error);
    }
    std::ifstream locked(folder_ + "/locked.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(locked), {}), "x");
}

TEST_F(LayerFilesTest, AskedNotToALinkIsNeverFollowedAndOpensOnlyItself)
{
    write("target.txt", "kept");
    std::filesystem::create_symlink(folder_ + "/target.txt", folder_ + "/link");
    std::filesystem::create_symlink(folder_ + "/gone.txt", folder_ + "/dangling");
    struct Row {
        const char* name;
        DWORD access;
        DWORD disposition;
    };
    const Row refused[] = {
        {"link", GENERIC_WRITE, CREATE_ALWAYS},  {"link", GENERIC_WRITE, OPEN_EXISTING},
        {"link", GENERIC_READ, OPEN_EXISTING},   {"dangling", GENERIC_WRITE, OPEN_ALWAYS},
        {"dangling", GENERIC_WRITE, CREATE_NEW},
    };
    for (const Row& row : refused) {
        SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.disposition));
        EXPECT_EQ(CreateFileW(wide(row.name).c_str(), row.access, 0, nullptr, row.disposition,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr),
                  INVALID_HANDLE_VALUE);
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/gone.txt"));
    std::ifstream target(folder_ + "/target.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(target), {}), "kept");

    // For its information only, the link itself opens, and says it is one.
    HANDLE link = CreateFileW(wide("link").c_str(), 0, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    ASSERT_NE(link, INVALID_HANDLE_VALUE);
    BY_HANDLE_FILE_INFORMATION information;
    ASSERT_TRUE(GetFileInformationByHandle(link, &information));
    EXPECT_TRUE(information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_TRUE(CloseHandle(link));
}

TEST_F(LayerFilesTest, AFolderOpensWithBackupSemanticsAndTellsItsOwnerAndWhoElseMayUseIt)
{
    const std::string folder = folder_ + "/folder";
    std::filesystem::create_directory(folder);
    EXPECT_EQ(CreateFileW(wide("folder").c_str(), READ_CONTROL, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    DWORD size = 0;
    EXPECT_FALSE(GetTokenInformation(token, TokenUser, nullptr, 0, &size));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    std::vector<BYTE> user(size);
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, user.data(), size, &size));
    EXPECT_TRUE(CloseHandle(token));
    const PSID self = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    struct Row {
        mode_t mode;
        std::size_t entries; // the owner's, the group's, everyone's that grant anything
    };
    for (const Row& row : {Row{0700, 1}, Row{0750, 2}, Row{0705, 2}, Row{0777, 3}}) {
        SCOPED_TRACE(row.mode);
        chmod(folder.c_str(), row.mode);
        HANDLE handle = CreateFileW(wide("folder").c_str(), READ_CONTROL, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        PSID owner = nullptr;
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_EQ(GetSecurityInfo(handle, SE_FILE_OBJECT,
                                  OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                                  nullptr, &dacl, nullptr, &descriptor),
                  ERROR_SUCCESS);
        EXPECT_TRUE(EqualSid(owner, self));
        ASSERT_NE(dacl, nullptr);
        EXPECT_EQ(dacl->AceCount, row.entries);
        LPVOID ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, 0, &ace));
        EXPECT_TRUE(EqualSid(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, self));
        EXPECT_FALSE(GetAce(dacl, row.entries, &ace));
        EXPECT_FALSE(IsWellKnownSid(owner, WinLocalSystemSid));
        LocalFree(descriptor);
        EXPECT_TRUE(CloseHandle(handle));
    }
}

TEST_F(LayerFilesTest, AHandleReadsWritesAndClosesOnce)
{
    HANDLE file = CreateFileW(wide("data").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(file, "abc\0\x1a", 5, &done, nullptr));
    EXPECT_EQ(done, 5u);
    EXPECT_TRUE(FlushFileBuffers(file));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    file = CreateFileW(wide("data").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    ASSERT_TRUE(GetFileSizeEx(file, &size));
    EXPECT_EQ(size.QuadPart, 5);
    char buffer[8] = {};
    EXPECT_TRUE(ReadFile(file, buffer, 8, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), std::string("abc\0\x1a", 5));
    EXPECT_TRUE(ReadFile(file, buffer, 8, &done, nullptr));
    EXPECT_EQ(done, 0u) << "the end of the file reads as success with nothing";
    EXPECT_FALSE(WriteFile(file, "x", 1, &done, nullptr));
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(LayerFilesTest, AnInjectedFaultFailsOnlyTheChosenCall)
{
    failFileCall(FileCall::write, 2, ERROR_DISK_FULL);
    HANDLE file = CreateFileW(wide("data").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    const int before = fileCalls(FileCall::write);
    EXPECT_TRUE(WriteFile(file, "a", 1, &done, nullptr));
    EXPECT_FALSE(WriteFile(file, "b", 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_TRUE(WriteFile(file, "c", 1, &done, nullptr));
    EXPECT_EQ(fileCalls(FileCall::write), before + 3);
    failFileCall(FileCall::close, 1, ERROR_WRITE_FAULT);
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file)) << "a failed close still releases the handle";
    std::ifstream data(folder_ + "/data");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(data), {}), "ac");
}

TEST_F(LayerFilesTest, ReplacingKeepsModeAndLinksAndRefusesReadOnlyTargets)
{
    write("target", "old");
    chmod((folder_ + "/target").c_str(), 0640);
    std::filesystem::create_symlink(folder_ + "/target", folder_ + "/link");
    write("new", "new");
    ASSERT_TRUE(
        ReplaceFileW(wide("link").c_str(), wide("new").c_str(), nullptr, 0, nullptr, nullptr));
    EXPECT_TRUE(std::filesystem::is_symlink(folder_ + "/link"));
    std::ifstream target(folder_ + "/target");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(target), {}), "new");
    struct stat status;
    ASSERT_EQ(stat((folder_ + "/target").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    write("other", "other");
    chmod((folder_ + "/target").c_str(), 0444);
    EXPECT_EQ(GetFileAttributesW(wide("target").c_str()), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(
        ReplaceFileW(wide("target").c_str(), wide("other").c_str(), nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MoveFileExW(wide("other").c_str(), wide("target").c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(MoveFileExW(wide("other").c_str(), wide("moved").c_str(), MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(GetFileAttributesW(wide("moved").c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributesW(wide("gone").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesW(wide("").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(DeleteFileW(wide("moved").c_str()));
    EXPECT_FALSE(DeleteFileW(wide("moved").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(LayerFilesTest, FullPathsAreLexicalAndTheCurrentFolderFitsOrSaysWhatItNeeds)
{
    const std::wstring current = std::filesystem::path(folder_).wstring();
    struct Row {
        std::wstring name;
        std::wstring full;
    };
    const Row rows[] = {
        {L"a.txt", current + L"/a.txt"}, {L"./sub/../b.txt", current + L"/b.txt"},
        {L"/x//y/./z", L"/x/y/z"},       {L"/../up", L"/up"},
        {L"dir/", current + L"/dir/"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.name);
        wchar_t buffer[512];
        LPWSTR part = nullptr;
        EXPECT_EQ(GetFullPathNameW(row.name.c_str(), 512, buffer, &part), row.full.size());
        EXPECT_EQ(std::wstring(buffer), row.full);
        const bool folder = row.full.back() == L'/';
        EXPECT_EQ(part == nullptr, folder);
    }
    wchar_t small[4];
    EXPECT_EQ(GetCurrentDirectoryW(4, small), current.size() + 1);
    std::wstring buffer(current.size() + 1, L'\0');
    EXPECT_EQ(GetCurrentDirectoryW(DWORD(buffer.size()), buffer.data()), current.size());
    EXPECT_EQ(buffer.c_str(), current);
}

TEST_F(LayerFilesTest, TheDialogRefusesWhatDoesNotFitAndLeavesTheFolderThen)
{
    std::filesystem::create_directory(folder_ + "/sub");
    wchar_t buffer[16] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = 16;
    answerFileDialog(L"sub/a-rather-long-name.txt");
    EXPECT_FALSE(GetSaveFileNameW(&dialog));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(DWORD(buffer[0]), folder_.size() + 27 + 1);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(folder_));

    cancelFileDialog();
    EXPECT_FALSE(GetOpenFileNameW(&dialog));
    EXPECT_EQ(CommDlgExtendedError(), 0u) << "a plain cancel is no error";

    dialog.lStructSize = 40;
    EXPECT_FALSE(GetOpenFileNameW(&dialog));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
    EXPECT_EQ(shownFileDialogs().size(), 2u) << "a bad structure shows nothing";

    std::wstring path(64 + folder_.size(), L'\0');
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = DWORD(path.size());
    answerFileDialog(L"sub/n.b.txt");
    ASSERT_TRUE(GetOpenFileNameW(&dialog));
    EXPECT_EQ(std::wstring(path.c_str()), wide("sub/n.b.txt"));
    EXPECT_EQ(dialog.nFileOffset, folder_.size() + 5);
    EXPECT_EQ(dialog.nFileExtension, folder_.size() + 9);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(folder_) / "sub");
}

} // namespace

TEST_F(LayerFilesTest, AFileOpenedWithoutSharingIsRefusedToOtherUnsharedOpensUntilClosed)
{
    write("held", "kept");
    HANDLE held = CreateFileW(wide("held").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    // A second open without sharing fails before it truncates anything.
    for (const DWORD disposition : {OPEN_EXISTING, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
        SCOPED_TRACE(disposition);
        EXPECT_EQ(CreateFileW(wide("held").c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    }
    EXPECT_EQ(std::filesystem::file_size(folder_ + "/held"), 4u);
    EXPECT_TRUE(CloseHandle(held));
    HANDLE again = CreateFileW(wide("held").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

TEST_F(LayerFilesTest, FileInformationTellsAReplacedOrRewrittenFileFromTheSameOne)
{
    const auto informationOf = [&](const std::string& name) {
        BY_HANDLE_FILE_INFORMATION information{};
        // No access asked for: a file the user may not read can still be looked at.
        HANDLE file = CreateFileW(wide(name).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(GetFileInformationByHandle(file, &information));
        CloseHandle(file);
        return information;
    };
    write("doc", "12345");
    std::filesystem::permissions(folder_ + "/doc", std::filesystem::perms::none);
    const BY_HANDLE_FILE_INFORMATION first = informationOf("doc");
    EXPECT_EQ(first.nFileSizeLow, 5u);
    EXPECT_EQ(first.nFileSizeHigh, 0u);
    EXPECT_EQ(first.dwFileAttributes, DWORD(FILE_ATTRIBUTE_READONLY));
    const BY_HANDLE_FILE_INFORMATION same = informationOf("doc");
    EXPECT_EQ(std::memcmp(&first, &same, sizeof first), 0);

    std::filesystem::permissions(folder_ + "/doc", std::filesystem::perms::owner_all);
    write("other", "12345");
    std::filesystem::rename(folder_ + "/other", folder_ + "/doc");
    const BY_HANDLE_FILE_INFORMATION replaced = informationOf("doc");
    EXPECT_EQ(replaced.dwVolumeSerialNumber, first.dwVolumeSerialNumber);
    EXPECT_NE(replaced.nFileIndexLow, first.nFileIndexLow) << "a rename gives the name a new file";

    // 1970-01-01 is 11644473600 seconds after 1601-01-01, in 100 ns ticks.
    struct timespec times[2] = {{0, 0}, {0, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (folder_ + "/doc").c_str(), times, 0), 0);
    const FILETIME written = informationOf("doc").ftLastWriteTime;
    EXPECT_EQ((ULONGLONG(written.dwHighDateTime) << 32) | written.dwLowDateTime,
              116444736000000000ULL);
    SYSTEMTIME calendar{};
    ASSERT_TRUE(FileTimeToSystemTime(&written, &calendar));
    EXPECT_EQ(calendar.wYear, 1970);
    EXPECT_EQ(calendar.wMonth, 1);
    EXPECT_EQ(calendar.wDay, 1);
    EXPECT_EQ(calendar.wHour, 0);
}

TEST_F(LayerFilesTest, FindFirstFileMatchesTheLastNameWithoutRegardToCase)
{
    std::filesystem::create_directory(folder_ + "/in");
    for (const char* name : {"a.recovery", "B.RECOVERY", "a.lock", "ab.recovery.tmp"})
        write(std::string("in/") + name, "x");
    const auto found = [&](const std::wstring& pattern) {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW((wide("in") + L"/" + pattern).c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(data.cFileName);
        while (FindNextFileW(search, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(search));
        std::sort(names.begin(), names.end());
        return names;
    };
    using Names = std::vector<std::wstring>;
    EXPECT_EQ(found(L"*.recovery"), (Names{L"B.RECOVERY", L"a.recovery"}));
    EXPECT_EQ(found(L"?.lock"), (Names{L"a.lock"}));
    EXPECT_EQ(found(L"*"),
              (Names{L".", L"..", L"B.RECOVERY", L"a.lock", L"a.recovery", L"ab.recovery.tmp"}));
    EXPECT_TRUE(found(L"*.txt").empty());
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    WIN32_FIND_DATAW data;
    EXPECT_EQ(FindFirstFileW(wide("missing/*").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(LayerFilesTest, ThePerUserFoldersAreTheXdgStateAndConfigFolders)
{
    const std::string home = folder_ + "/home";
    setenv("HOME", home.c_str(), 1);
    struct Row {
        const char* name;
        int folder;
        const char* variable; // null: unset
        std::string expected;
    };
    const Row rows[] = {
        {"state, unset", CSIDL_LOCAL_APPDATA, nullptr, home + "/.local/state"},
        {"state, empty", CSIDL_LOCAL_APPDATA, "", home + "/.local/state"},
        {"state, relative", CSIDL_LOCAL_APPDATA, "state", home + "/.local/state"},
        {"state, absolute", CSIDL_LOCAL_APPDATA, "/tmp/quenwrite-elsewhere-state",
         "/tmp/quenwrite-elsewhere-state"},
        {"config, unset", CSIDL_APPDATA, nullptr, home + "/.config"},
        {"config, relative", CSIDL_APPDATA, "config", home + "/.config"},
        {"config, absolute", CSIDL_APPDATA, "/tmp/quenwrite-elsewhere-config",
         "/tmp/quenwrite-elsewhere-config"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const char* variable = row.folder == CSIDL_APPDATA ? "XDG_CONFIG_HOME" : "XDG_STATE_HOME";
        if (row.variable)
            setenv(variable, row.variable, 1);
        else
            unsetenv(variable);
        wchar_t path[MAX_PATH] = L"?";
        // Without CSIDL_FLAG_CREATE a missing folder is an error and an empty path.
        EXPECT_NE(SHGetFolderPathW(nullptr, row.folder, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
        EXPECT_EQ(path[0], L'\0');
        ASSERT_EQ(SHGetFolderPathW(nullptr, row.folder | CSIDL_FLAG_CREATE, nullptr,
                                   SHGFP_TYPE_CURRENT, path),
                  S_OK);
        EXPECT_EQ(std::filesystem::path(path), std::filesystem::path(row.expected));
        EXPECT_TRUE(std::filesystem::is_directory(row.expected));
        std::filesystem::remove_all(row.expected);
    }
}

TEST_F(LayerFilesTest, NamesInTheStateFolderTakeWindowsFormAndWhatIsMadeThereIsPrivate)
{
    setenv("XDG_STATE_HOME", (folder_ + "/state").c_str(), 1);
    wchar_t base[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                               SHGFP_TYPE_CURRENT, base),
              S_OK);
    const std::wstring program = std::wstring(base) + L"\\Quenwrite";
    ASSERT_TRUE(CreateDirectoryW(program.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryW(program.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    HANDLE file = CreateFileW((program + L"\\copy").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    const std::string made = folder_ + "/state/quenwrite";
    EXPECT_TRUE(std::filesystem::exists(made + "/copy"));
    struct stat status;
    ASSERT_EQ(stat(made.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ASSERT_EQ(stat((made + "/copy").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    // Outside the state folder a backslash is part of a name, and files are made as usual.
    file = CreateFileW(wide("a\\b").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_TRUE(std::filesystem::exists(folder_ + "/a\\b"));
}
