// The Listbox class of the layer as a plain window of the program sees it: sorted insertion, the
// prefix search, selection by message and by the user, and which of them is notified.
#include "platform/testing/testing.h"
#include "platform/win32.h"
#include "tests/support/parent_window.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace platform::testing;

namespace {

std::vector<WPARAM> notifications;

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        notifications.push_back(wParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

constexpr int listId = 3;
constexpr DWORD notifyingList = WS_BORDER | WS_VSCROLL | LBS_SORT | LBS_NOTIFY;

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = showParentWindow(parentProc, L"List test window");
        ASSERT_TRUE(parent);
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND list(DWORD style, int height = 150, int id = listId)
    {
        return CreateWindowExW(0, L"Listbox", nullptr, WS_CHILD | WS_VISIBLE | style, 10, 10, 120,
                               height, parent, reinterpret_cast<HMENU>(UINT_PTR(id)), nullptr,
                               nullptr);
    }

    HWND listOf(DWORD style, const std::vector<std::wstring>& items)
    {
        HWND hwnd = list(style);
        for (const std::wstring& item : items)
            SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        notifications.clear();
        return hwnd;
    }

    HWND parent = nullptr;
};

std::wstring itemText(HWND list, int index)
{
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0);
    if (length < 0)
        return L"<LB_ERR>";
    std::wstring text(size_t(length) + 1, L'?');
    EXPECT_EQ(SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data())),
              length);
    EXPECT_EQ(text[size_t(length)], L'\0');
    text.resize(size_t(length));
    return text;
}

std::vector<std::wstring> itemsOf(HWND list)
{
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
        items.push_back(itemText(list, i));
    return items;
}

LRESULT selected(HWND list)
{
    return SendMessageW(list, LB_GETCURSEL, 0, 0);
}

WPARAM notification(WORD code)
{
    return MAKEWPARAM(listId, code);
}

TEST_F(ListBoxTest, SortedListsInsertWithoutRegardToCase)
{
    HWND sorted = list(LBS_SORT);
    const struct {
        const wchar_t* text;
        LRESULT index;
    } added[] = {{L"banana", 0}, {L"Apple", 0},       {L"cherry", 2}, {L"apple pie", 1},
                 {L"BANANA", 3}, {L"\u00E9clair", 5}, {L"", 0}};
    for (const auto& row : added) {
        SCOPED_TRACE(testing::Message()
                     << "adding " << testing::PrintToString(std::wstring(row.text)));
        EXPECT_EQ(SendMessageW(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text)),
                  row.index);
    }
    EXPECT_EQ(itemsOf(sorted), (std::vector<std::wstring>{L"", L"Apple", L"apple pie", L"banana",
                                                          L"BANANA", L"cherry", L"\u00E9clair"}));
    EXPECT_EQ(selected(sorted), LB_ERR);

    HWND unsorted = listOf(0, {L"b", L"a", L"c"});
    EXPECT_EQ(itemsOf(unsorted), (std::vector<std::wstring>{L"b", L"a", L"c"}));
    EXPECT_EQ(SendMessageW(unsorted, LB_GETTEXTLEN, 3, 0), LB_ERR);
    wchar_t buffer[4] = L"xyz";
    EXPECT_EQ(SendMessageW(unsorted, LB_GETTEXT, WPARAM(-1), reinterpret_cast<LPARAM>(buffer)),
              LB_ERR);
    EXPECT_EQ(std::wstring(buffer), L"xyz");
}

TEST_F(ListBoxTest, SelectStringMatchesAPrefixFromTheNextItemRoundToStart)
{
    const struct {
        int start;
        const wchar_t* prefix;
        LRESULT found;
    } searches[] = {
        {0, L"Arial", 0},
        {0, L"arial", 0},
        {0, L"", 1},
        {-1, L"", 0},
        {2, L"", 0},
        {1, L"c", 1},
        {0, L"Courier", 1},
        {0, L"COURIER NEW", 1},
        {0, L"t", 2},
        {5, L"T", 2},
        {0, L"Courier New ", LB_ERR},
        {0, L"x", LB_ERR},
        {0, L"rial", LB_ERR},
    };
    for (const auto& row : searches) {
        SCOPED_TRACE(testing::Message()
                     << row.start << " " << testing::PrintToString(std::wstring(row.prefix)));
        HWND fonts = listOf(notifyingList, {L"Times New Roman", L"Arial", L"Courier New"});
        const auto prefix = reinterpret_cast<LPARAM>(row.prefix);
        EXPECT_EQ(SendMessageW(fonts, LB_FINDSTRING, WPARAM(row.start), prefix), row.found);
        EXPECT_EQ(selected(fonts), LB_ERR) << "LB_FINDSTRING selects nothing";

        SendMessageW(fonts, LB_SETCURSEL, 2, 0);
        EXPECT_EQ(SendMessageW(fonts, LB_SELECTSTRING, WPARAM(row.start), prefix), row.found);
        EXPECT_EQ(selected(fonts), row.found == LB_ERR ? 2 : row.found)
            << "a failed search keeps the selection";
        EXPECT_TRUE(notifications.empty()) << "the program's own selections are not notified";
        DestroyWindow(fonts);
    }
}

TEST_F(ListBoxTest, SetCurSelSelectsClearsAndRefuses)
{
    HWND sizes = listOf(notifyingList, {L"10", L"11", L"12"});
    EXPECT_EQ(SendMessageW(sizes, LB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(selected(sizes), 1);
    EXPECT_EQ(SendMessageW(sizes, LB_SETCURSEL, 3, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(sizes, LB_SETCURSEL, WPARAM(-1), 0), LB_ERR);
    EXPECT_EQ(selected(sizes), LB_ERR);
    EXPECT_TRUE(notifications.empty());
}

TEST_F(ListBoxTest, TheUsersSelectionsAreNotifiedWithLbsNotify)
{
    HWND fonts = listOf(notifyingList, {L"Arial", L"Courier New", L"Times New Roman"});
    HWND other = list(notifyingList, 150, 4);
    notifications.clear();

    clickListItem(fonts, 1);
    EXPECT_EQ(notifications,
              (std::vector<WPARAM>{notification(LBN_SETFOCUS), notification(LBN_SELCHANGE)}));
    EXPECT_EQ(selected(fonts), 1);

    notifications.clear();
    clickListItem(fonts, 1);
    pressKey(fonts, VK_DOWN);
    EXPECT_EQ(notifications,
              (std::vector<WPARAM>{notification(LBN_SELCHANGE), notification(LBN_SELCHANGE)}));
    EXPECT_EQ(selected(fonts), 2);

    notifications.clear();
    pressKey(fonts, VK_DOWN); // already at the last item: nothing changes
    click(other);             // an empty list: only the focus moves
    EXPECT_EQ(notifications,
              (std::vector<WPARAM>{notification(LBN_KILLFOCUS), MAKEWPARAM(4, LBN_SETFOCUS)}));
}

TEST_F(ListBoxTest, WithoutLbsNotifyOnlyTheFocusIsNotified)
{
    HWND quiet = listOf(WS_BORDER | LBS_SORT, {L"a", L"b", L"c"});
    clickListItem(quiet, 2);
    pressKey(quiet, VK_UP);
    EXPECT_EQ(selected(quiet), 1);
    EXPECT_EQ(notifications, (std::vector<WPARAM>{notification(LBN_SETFOCUS)}));
}

WNDPROC originalListProc = nullptr;

LRESULT CALLBACK swallowDown(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && wParam == VK_DOWN)
        return 0;
    return CallWindowProcW(originalListProc, hwnd, message, wParam, lParam);
}

TEST_F(ListBoxTest, KeysPassThroughASubclassFirst)
{
    HWND fonts = listOf(notifyingList, {L"Arial", L"Courier New", L"Times New Roman"});
    clickListItem(fonts, 0);
    originalListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongW(fonts, GWL_WNDPROC, reinterpret_cast<LONG>(swallowDown)));
    notifications.clear();
    pressKey(fonts, VK_DOWN);
    EXPECT_EQ(selected(fonts), 0);
    EXPECT_TRUE(notifications.empty());
    pressKey(fonts, VK_END);
    EXPECT_EQ(selected(fonts), 2);
}

TEST_F(ListBoxTest, ListsShrinkToWholeItemsUnlessTold)
{
    std::set<LONG> heights;
    for (int requested = 100; requested <= 160; ++requested) {
        HWND shrinking = list(notifyingList, requested);
        RECT rect;
        GetWindowRect(shrinking, &rect);
        const LONG height = rect.bottom - rect.top;
        EXPECT_LE(height, requested);
        heights.insert(height);
        DestroyWindow(shrinking);
    }
    // Whole items only: the height moves in steps of one item, not pixel by pixel.
    ASSERT_GE(heights.size(), 3u);
    const LONG step = *std::next(heights.begin()) - *heights.begin();
    EXPECT_GE(step, 10);
    for (auto it = std::next(heights.begin()); it != heights.end(); ++it)
        EXPECT_EQ(*it - *std::prev(it), step);

    HWND exact = list(notifyingList | LBS_NOINTEGRALHEIGHT, 151);
    RECT rect;
    GetWindowRect(exact, &rect);
    EXPECT_EQ(rect.bottom - rect.top, 151);
}

TEST_F(ListBoxTest, SelectingScrollsTheItemIntoView)
{
    std::vector<std::wstring> items;
    for (int i = 10; i < 40; ++i)
        items.push_back(std::to_wstring(i));
    HWND sizes = listOf(notifyingList, items);
    EXPECT_EQ(topIndex(sizes), 0);
    SendMessageW(sizes, LB_SETCURSEL, 29, 0);
    EXPECT_GT(topIndex(sizes), 0);
    SendMessageW(sizes, LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(L"1"));
    EXPECT_EQ(topIndex(sizes), 0);
}

} // namespace
