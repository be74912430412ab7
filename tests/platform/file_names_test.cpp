// File names on Linux are bytes: a name that is UTF-8 reads as its text, and a byte that is no
// part of a character as the lone surrogate U+DC00 + byte, which reaches the same file again.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

TEST(LayerFileNames, ABytesNameThatIsNoTextReachesItsOwnFile)
{
    char pattern[] = "/tmp/quenwrite-names-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    const std::wstring wideFolder = std::filesystem::path(folder).wstring();
    struct Row {
        const char* name;
        std::string bytes;
        std::wstring wide;
    };
    const Row rows[] = {
        {"UTF-8", "caf\xC3\xA9.txt", L"caf\u00E9.txt"},
        {"a Latin-1 byte", "caf\xE9.txt", std::wstring(L"caf") + wchar_t(0xDCE9) + L".txt"},
        {"a sequence cut short", "a\xE2\x82.txt",
         std::wstring(L"a") + wchar_t(0xDCE2) + wchar_t(0xDC82) + L".txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::ofstream(folder + "/" + row.bytes) << "x";
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((wideFolder + L"/*.txt").c_str(), &found);
        ASSERT_NE(search, INVALID_HANDLE_VALUE);
        EXPECT_EQ(std::wstring(found.cFileName), row.wide);
        FindClose(search);
        EXPECT_NE(GetFileAttributesW((wideFolder + L"/" + row.wide).c_str()),
                  INVALID_FILE_ATTRIBUTES);
        std::filesystem::remove(folder + "/" + row.bytes);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
