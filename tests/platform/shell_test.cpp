// The layer's SHELL32 promises: CommandLineToArgvW splits a line as Windows does, and a window
// that accepts files gets WM_DROPFILES with names that DragQueryFileW hands out as Windows does.
#include "platform/testing/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> split(const wchar_t* line)
{
    int count = -1;
    LPWSTR* arguments = CommandLineToArgvW(line, &count);
    std::vector<std::wstring> result;
    if (!arguments)
        return result;
    for (int i = 0; i < count; ++i)
        result.emplace_back(arguments[i]);
    EXPECT_EQ(LocalFree(arguments), nullptr);
    return result;
}

TEST(CommandLineToArgvW, SplitsAsWindowsDoes)
{
    using Words = std::vector<std::wstring>;
    struct Row {
        const wchar_t* line;
        Words arguments;
    };
    const Row rows[] = {
        {L"q a b", {L"q", L"a", L"b"}},
        {L"\"C:\\Program Files\\q.exe\" \"a b\"", {L"C:\\Program Files\\q.exe", L"a b"}},
        // The program name takes backslashes as they stand, even before its closing quote.
        {L"\"C:\\dir\\\" a", {L"C:\\dir\\", L"a"}},
        {L"q a\\\\b", {L"q", L"a\\\\b"}},
        {L"q a\\\\\\\"b", {L"q", L"a\\\"b"}},   // 2n + 1 backslashes: n and a quote
        {L"q a\\\\\"b c\"", {L"q", L"a\\b c"}}, // 2n: n, and the quote switches
        {L"q \"C:\\dir\\\" x", {L"q", L"C:\\dir\" x"}},
        {L"q \"\" x", {L"q", L"", L"x"}},
        {L" q a", {L"", L"q", L"a"}},
        {L"q\ta   ", {L"q", L"a"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "line [" << std::wstring(row.line) << "]");
        EXPECT_EQ(split(row.line), row.arguments);
    }
    const Words alone = split(L"");
    ASSERT_EQ(alone.size(), 1u) << "an empty line stands for the program itself";
    EXPECT_NE(alone[0].find(L"quenwrite_tests"), std::wstring::npos);
}

struct Drop {
    HWND hwnd;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Drop>& drops()
{
    static std::vector<Drop> seen;
    return seen;
}

LRESULT CALLBACK dropProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DROPFILES)
        drops().push_back({hwnd, wParam, lParam});
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class DropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = dropProc;
        windowClass.lpszClassName = L"Drop Test Class";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"Drop Test Class", L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 500, 500, nullptr, nullptr, nullptr, nullptr);
        edit = CreateWindowExW(0, L"edit", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 4, 4, 300,
                               200, window, nullptr, nullptr, nullptr);
        ShowWindow(window, SW_SHOW);
        platform::testing::processEvents();
    }

    void TearDown() override
    {
        for (const Drop& drop : drops())
            DragFinish(reinterpret_cast<HDROP>(drop.wParam)); // nothing for one finished already
    }

    HWND window = nullptr;
    HWND edit = nullptr;
};

std::wstring nameOf(HDROP drop, UINT index, UINT size)
{
    std::wstring buffer(size, L'#');
    const UINT copied = DragQueryFileW(drop, index, buffer.data(), size);
    return buffer.substr(0, copied) + (size > copied && buffer[copied] == L'\0' ? L"|" : L"?");
}

TEST_F(DropTest, TheDropIsPostedToTheAcceptingWindowAndItsNamesReadAsOnWindows)
{
    DragAcceptFiles(window, TRUE);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & 0x10, 0x10); // WS_EX_ACCEPTFILES
    ASSERT_TRUE(platform::testing::dropFiles(edit, {L"/tmp/a b.txt", L"/tmp/é"}));
    EXPECT_TRUE(drops().empty()) << "posted, not sent";
    platform::testing::processEvents();
    ASSERT_EQ(drops().size(), 1u);
    EXPECT_EQ(drops()[0].hwnd, window) << "the edit takes no files: its parent gets them";
    EXPECT_EQ(drops()[0].lParam, 0);
    const auto drop = reinterpret_cast<HDROP>(drops()[0].wParam);

    EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileW(drop, 0, nullptr, 0), 12u);
    EXPECT_EQ(nameOf(drop, 0, 13), L"/tmp/a b.txt|");
    EXPECT_EQ(nameOf(drop, 0, 4), L"/tm|") << "cut short, still ended by a zero";
    EXPECT_EQ(nameOf(drop, 1, 20), L"/tmp/é|");
    EXPECT_EQ(DragQueryFileW(drop, 2, nullptr, 0), 0u);
    DragFinish(drop);
    EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 0u) << "released";
}

TEST_F(DropTest, AWindowTakesFilesOnlyWhileItAcceptsThemAndIsEnabled)
{
    EXPECT_FALSE(platform::testing::dropFiles(edit, {L"/tmp/a.txt"})) << "not yet accepting";
    DragAcceptFiles(window, TRUE);
    EnableWindow(window, FALSE);
    EXPECT_FALSE(platform::testing::dropFiles(edit, {L"/tmp/a.txt"})) << "disabled";
    EnableWindow(window, TRUE);
    EXPECT_TRUE(platform::testing::dropFiles(edit, {L"/tmp/a.txt"}));
    DragAcceptFiles(window, FALSE);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & 0x10, 0);
    EXPECT_FALSE(platform::testing::dropFiles(edit, {L"/tmp/a.txt"})) << "no longer accepting";
    platform::testing::processEvents();
    EXPECT_EQ(drops().size(), 1u);
}

} // namespace
