// The layer's promises that the editor relies on: creation and destruction messages, activation
// order, subclassing, the edit control's notifications, text and offsets, hot keys, the queue.
#include "platform/testing/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

struct Seen {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Seen>& seen()
{
    static std::vector<Seen> messages;
    return messages;
}

LRESULT createResult = 0;

LRESULT CALLBACK recordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    seen().push_back({hwnd, message, wParam, lParam});
    if (message == WM_CREATE && createResult)
        return createResult;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::vector<UINT> messagesTo(HWND hwnd, std::initializer_list<UINT> interesting)
{
    std::vector<UINT> result;
    for (const Seen& s : seen()) {
        if (s.hwnd != hwnd)
            continue;
        for (UINT m : interesting) {
            if (s.message == m)
                result.push_back(m);
        }
    }
    return result;
}

std::vector<WORD> notificationsFrom(HWND control)
{
    std::vector<WORD> codes;
    for (const Seen& s : seen()) {
        if (s.message == WM_COMMAND && reinterpret_cast<HWND>(s.lParam) == control)
            codes.push_back(HIWORD(s.wParam));
    }
    return codes;
}

std::wstring textOf(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring buffer(size_t(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
    buffer.resize(size_t(copied));
    return buffer;
}

class LayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = recordingProc;
        windowClass.lpszClassName = L"Layer Test Class";
        RegisterClassW(&windowClass);
        seen().clear();
        createResult = 0;
    }

    HWND topLevel(DWORD style = WS_OVERLAPPEDWINDOW, HWND owner = nullptr)
    {
        return CreateWindowExW(0, L"layer test class", L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                               500, 500, owner, nullptr, nullptr, nullptr);
    }

    HWND edit(HWND parent, DWORD style)
    {
        return CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | style, 4, 4, 300, 200,
                               parent, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    }
};

} // namespace

TEST_F(LayerTest, CreationSendsItsMessagesInOrderAndAFailedCreateGivesNoWindow)
{
    HWND hwnd = topLevel();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(messagesTo(hwnd, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE}),
              (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE}));

    createResult = -1;
    EXPECT_EQ(topLevel(), nullptr);
    EXPECT_EQ(CreateWindowExW(0, L"no such class", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
}

TEST_F(LayerTest, OuterAndClientRectanglesFollowTheFrameMetrics)
{
    HWND sizable = topLevel();
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 1, L"Item");
    SetMenu(sizable, bar);
    RECT outer{};
    RECT client{};
    GetWindowRect(sizable, &outer);
    GetClientRect(sizable, &client);
    EXPECT_EQ(outer.right - outer.left, 500);
    EXPECT_EQ(outer.bottom - outer.top, 500);
    EXPECT_EQ(client.right, 484);
    EXPECT_EQ(client.bottom, 441);

    HWND fixed = topLevel(WS_VISIBLE | WS_SYSMENU, sizable);
    GetClientRect(fixed, &client);
    EXPECT_EQ(client.right, 494);
    EXPECT_EQ(client.bottom, 471);

    HWND child = edit(sizable, ES_MULTILINE);
    SetWindowPos(child, nullptr, 0, 0, -5, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT childRect{};
    GetWindowRect(child, &childRect);
    EXPECT_EQ(childRect.right - childRect.left, 0); // negative sizes act as 0
    EXPECT_EQ(childRect.left, outer.left + 8 + 4);
}

TEST_F(LayerTest, ActivationTellsTheLosingWindowFirst)
{
    HWND first = topLevel();
    HWND second = topLevel();
    ShowWindow(first, SW_SHOW);
    ShowWindow(second, SW_SHOW);
    seen().clear();
    SetActiveWindow(first);
    ASSERT_EQ(seen().size() >= 2, true);
    std::vector<Seen> activations;
    for (const Seen& s : seen()) {
        if (s.message == WM_ACTIVATE)
            activations.push_back(s);
    }
    ASSERT_EQ(activations.size(), 2u);
    EXPECT_EQ(activations[0].hwnd, second);
    EXPECT_EQ(LOWORD(activations[0].wParam), WA_INACTIVE);
    EXPECT_EQ(reinterpret_cast<HWND>(activations[0].lParam), first);
    EXPECT_EQ(activations[1].hwnd, first);
    EXPECT_EQ(LOWORD(activations[1].wParam), WA_ACTIVE);
    EXPECT_EQ(GetForegroundWindow(), first);
    // A plain window does not remember its focused child: activation focuses the frame.
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(LayerTest, DestroyingAWindowDestroysWhatItOwnsAndLeavesDeadHandlesHarmless)
{
    HWND owner = topLevel();
    HWND owned = topLevel(WS_VISIBLE | WS_SYSMENU, owner);
    HWND child = edit(owner, ES_MULTILINE);
    seen().clear();
    EXPECT_TRUE(DestroyWindow(owner));
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(messagesTo(owned, {WM_DESTROY}).size(), 1u);
    EXPECT_EQ(messagesTo(owner, {WM_DESTROY, WM_NCDESTROY}),
              (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(GetWindowTextLengthW(child), 0);
    EXPECT_EQ(SendMessageW(child, EM_SETSEL, 0, 1), 0);
    EXPECT_FALSE(DestroyWindow(owner));
}

TEST_F(LayerTest, CloseBoxGoesThroughTheProcedureAndTheDefaultDestroys)
{
    HWND hwnd = topLevel();
    ShowWindow(hwnd, SW_SHOW);
    platform::testing::clickCloseBox(hwnd);
    EXPECT_EQ(messagesTo(hwnd, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
              (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(LayerTest, MultiLineEditReportsUserEditsOnlyAndSingleLineReportsEveryChange)
{
    HWND parent = topLevel();
    ShowWindow(parent, SW_SHOW);
    HWND multi = edit(parent, ES_MULTILINE);
    HWND single = edit(parent, ES_AUTOHSCROLL);
    SetWindowTextW(multi, L"set");
    SetWindowTextW(single, L"set");
    EXPECT_TRUE(notificationsFrom(multi).empty());
    EXPECT_EQ(notificationsFrom(single), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));

    SetFocus(multi);
    platform::testing::typeText(multi, L"x");
    EXPECT_EQ(notificationsFrom(multi), (std::vector<WORD>{EN_SETFOCUS, EN_UPDATE, EN_CHANGE}));
    SendMessageW(multi, EM_SETSEL, 0, 1);
    SendMessageW(multi, WM_SETFONT, 0, TRUE);
    SetFocus(single);
    EXPECT_EQ(notificationsFrom(multi).back(), EN_KILLFOCUS);
    EXPECT_EQ(notificationsFrom(multi).size(), 4u);
}

TEST_F(LayerTest, MultiLineTextKeepsEveryCharacterAndCountsLineBreaksAsTwo)
{
    HWND parent = topLevel();
    HWND multi = edit(parent, ES_MULTILINE | WS_HSCROLL);
    const std::wstring cases[] = {
        L"ab\r\ncd", L"lone\rcarriage return and lone\nline feed",
        L"\r\r\r\n", L"no\u00a0break\u00a0spaces and \u00ff\u0080 bytes",
        L"\r\n\r\n", L"",
    };
    for (const std::wstring& text : cases) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        SetWindowTextW(multi, text.c_str());
        EXPECT_EQ(GetWindowTextLengthW(multi), int(text.size()));
        EXPECT_EQ(textOf(multi), text);
    }
}

TEST_F(LayerTest, SelectionOffsetsCountTheWindowsText)
{
    HWND parent = topLevel();
    HWND multi = edit(parent, ES_MULTILINE);
    SetWindowTextW(multi, L"ab\r\ncd\r\nef");
    const struct {
        LPARAM start;
        LPARAM end;
        int wantStart;
        int wantEnd;
    } cases[] = {
        {4, 6, 4, 6}, {0, -1, 0, 10}, {7, 100, 6, 10}, {8, 10, 8, 10}, {6, 4, 4, 6}, {3, 3, 2, 2},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.start);
        SendMessageW(multi, EM_SETSEL, WPARAM(row.start), row.end);
        const auto selected = platform::testing::selection(multi);
        EXPECT_EQ(selected.start, row.wantStart);
        EXPECT_EQ(selected.end, row.wantEnd);
    }
    const LRESULT packed = SendMessageW(multi, EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(packed), 2);
    EXPECT_EQ(HIWORD(packed), 2);
}

TEST_F(LayerTest, GetWindowTextCopiesAtMostTheBufferLessOne)
{
    HWND parent = topLevel();
    HWND multi = edit(parent, ES_MULTILINE);
    SetWindowTextW(multi, L"abcdef");
    wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(GetWindowTextW(multi, buffer, 4), 3);
    EXPECT_EQ(std::wstring(buffer), L"abc");
    EXPECT_EQ(GetWindowTextW(multi, buffer, 0), 0);
}

TEST_F(LayerTest, TheTypingLimitRefusesInputWithEnMaxTextUntilLifted)
{
    HWND parent = topLevel();
    ShowWindow(parent, SW_SHOW);
    HWND multi = edit(parent, ES_MULTILINE);
    SendMessageW(multi, EM_SETLIMITTEXT, 3, 0);
    SetWindowTextW(multi, L"abcd"); // text set by the program is not limited
    SendMessageW(multi, EM_SETSEL, 4, 4);
    platform::testing::typeText(multi, L"e");
    EXPECT_EQ(textOf(multi), L"abcd");
    EXPECT_EQ(notificationsFrom(multi).back(), EN_MAXTEXT);
    SendMessageW(multi, EM_SETLIMITTEXT, 0, 0);
    platform::testing::typeText(multi, L"e");
    EXPECT_EQ(textOf(multi), L"abcde");
}

TEST_F(LayerTest, ASubclassSeesEveryKeyFirstAndCanKeepItFromTheControl)
{
    static WNDPROC original = nullptr;
    static std::vector<WPARAM> keys;
    static bool swallowX = false;
    struct Subclass {
        static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_KEYDOWN) {
                keys.push_back(wParam);
                if (swallowX && wParam == 'X')
                    return 0;
            }
            return CallWindowProcW(original, hwnd, message, wParam, lParam);
        }
    };
    HWND parent = topLevel();
    ShowWindow(parent, SW_SHOW);
    HWND box = edit(parent, ES_AUTOHSCROLL);
    original = reinterpret_cast<WNDPROC>(GetWindowLongW(box, GWL_WNDPROC));
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(SetWindowLongW(box, GWL_WNDPROC, reinterpret_cast<LONG>(Subclass::proc)),
              reinterpret_cast<LONG>(original));
    SetFocus(box);
    platform::testing::typeText(box, L"ab");
    platform::testing::pressKey(box, VK_RETURN);
    EXPECT_EQ(keys, (std::vector<WPARAM>{'A', 'B', VK_RETURN}));
    EXPECT_EQ(textOf(box), L"ab");
    swallowX = true;
    platform::testing::typeText(box, L"x");
    EXPECT_EQ(textOf(box), L"ab");
}

TEST_F(LayerTest, HotKeysNeedExactModifiersAndCannotBeRegisteredTwice)
{
    HWND hwnd = topLevel();
    ShowWindow(hwnd, SW_SHOW);
    HWND box = edit(hwnd, ES_MULTILINE);
    EXPECT_TRUE(RegisterHotKey(hwnd, 1, MOD_CONTROL, 'S'));
    EXPECT_FALSE(RegisterHotKey(hwnd, 2, MOD_CONTROL, 'S'));
    EXPECT_TRUE(RegisterHotKey(hwnd, 3, MOD_CONTROL | MOD_SHIFT, 'S'));
    platform::testing::pressKey(box, 'S', MOD_CONTROL | MOD_SHIFT);
    platform::testing::pressKey(box, 'S', MOD_CONTROL);
    platform::testing::processEvents();
    std::vector<WPARAM> fired;
    for (const Seen& s : seen()) {
        if (s.hwnd == hwnd && s.message == WM_HOTKEY)
            fired.push_back(s.wParam);
    }
    EXPECT_EQ(fired, (std::vector<WPARAM>{3, 1}));
    EXPECT_TRUE(UnregisterHotKey(hwnd, 1));
    EXPECT_FALSE(UnregisterHotKey(hwnd, 1));
    EXPECT_EQ(textOf(box), L""); // the key presses never reached the control
}

TEST_F(LayerTest, PostedMessagesWaitForTheQueueAndQuitEndsTheLoop)
{
    HWND hwnd = topLevel();
    PostMessageW(hwnd, WM_USER + 1, 0, 0);
    PostMessageW(hwnd, WM_USER + 2, 0, 0);
    EXPECT_TRUE(messagesTo(hwnd, {WM_USER + 1}).empty());
    PostQuitMessage(3);
    MSG message;
    ASSERT_TRUE(GetMessageW(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_USER + 1);
    DispatchMessageW(&message);
    ASSERT_TRUE(GetMessageW(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_USER + 2);
    EXPECT_FALSE(GetMessageW(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_EQ(messagesTo(hwnd, {WM_USER + 1}).size(), 1u);
}

TEST_F(LayerTest, FontsMadeBeforeTheApplicationAreDescriptions)
{
    HFONT font = CreateFontW(-30, 0, 0, 0, 800, 1, 0, 0, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, L"Arial");
    const auto info = platform::testing::fontInfo(font);
    EXPECT_EQ(info.height, -30);
    EXPECT_EQ(info.weight, 800);
    EXPECT_TRUE(info.italic);
    EXPECT_EQ(info.face, L"Arial");
    HWND parent = topLevel();
    HWND multi = edit(parent, ES_MULTILINE);
    SendMessageW(multi, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(platform::testing::fontOf(multi), font);
    EXPECT_EQ(platform::testing::qtFamilyOf(multi), L"Liberation Sans");

    // Heights far beyond a screen (a hand-edited settings file) are drawn at a bounded size.
    for (int height : {100000, 2147483647, -2147483647 - 1}) {
        HFONT huge =
            CreateFontW(height, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS,
                        CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, L"Arial");
        SendMessageW(multi, WM_SETFONT, reinterpret_cast<WPARAM>(huge), TRUE);
        EXPECT_EQ(platform::testing::qtFamilyOf(multi), L"Liberation Sans");
    }
}

TEST_F(LayerTest, RadioChecksClearTheirRangeAndEachDropDownAsksItsOwnerFirst)
{
    HWND hwnd = topLevel();
    HMENU bar = CreateMenu();
    HMENU outer = CreateMenu();
    HMENU inner = CreateMenu();
    for (UINT id = 11; id <= 14; ++id)
        AppendMenuW(inner, MF_STRING, id, (L"item " + std::to_wstring(id)).c_str());
    AppendMenuW(outer, MF_STRING, 10, L"plain");
    AppendMenuW(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), L"Inner");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(outer), L"Outer");
    SetMenu(hwnd, bar);
    const auto bullets = [&] {
        std::wstring shown;
        for (const auto& entry : platform::testing::openMenu(hwnd, L"Inner"))
            shown += entry.checked ? (entry.radio ? L'o' : L'v') : L'-';
        return shown;
    };
    // By command the item is found in the drop-downs of the menu given.
    EXPECT_TRUE(CheckMenuRadioItem(bar, 11, 13, 12, MF_BYCOMMAND));
    seen().clear();
    EXPECT_EQ(bullets(), L"-o--");
    const auto init = std::find_if(seen().begin(), seen().end(),
                                   [](const Seen& s) { return s.message == WM_INITMENUPOPUP; });
    ASSERT_NE(init, seen().end());
    EXPECT_EQ(init->wParam, reinterpret_cast<WPARAM>(inner));
    EXPECT_EQ(LOWORD(init->lParam), 1) << "the position of the item that opens it";
    EXPECT_TRUE(CheckMenuRadioItem(inner, 11, 13, 13, MF_BYCOMMAND));
    EXPECT_EQ(bullets(), L"--o-");
    EXPECT_TRUE(CheckMenuRadioItem(inner, 0, 1, 0, MF_BYPOSITION));
    EXPECT_EQ(bullets(), L"o-o-") << "only the range is cleared";
    EXPECT_FALSE(CheckMenuRadioItem(bar, 11, 13, 99, MF_BYCOMMAND));
    // Windows: choosing an item leaves its check mark to the program.
    platform::testing::chooseMenuItem(hwnd, 12);
    platform::testing::processEvents();
    EXPECT_EQ(messagesTo(hwnd, {WM_COMMAND}).size(), 1u);
    EXPECT_EQ(bullets(), L"o-o-");
}

TEST_F(LayerTest, ScriptedBoxesAreRecordedAndDeactivateTheirOwnerMeanwhile)
{
    HWND hwnd = topLevel();
    ShowWindow(hwnd, SW_SHOW);
    seen().clear();
    platform::testing::answerMessageBox(IDNO);
    EXPECT_EQ(MessageBoxW(hwnd, L"Sure?", L"Caption", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxW(hwnd, L"Told.", nullptr, MB_OK), IDOK); // unscripted: first button
    EXPECT_EQ(platform::testing::unscriptedBoxes(), 1);
    ASSERT_EQ(platform::testing::shownBoxes().size(), 2u);
    EXPECT_EQ(platform::testing::shownBoxes()[1].caption, L"Error");
    const auto activations = messagesTo(hwnd, {WM_ACTIVATE});
    EXPECT_EQ(activations.size(), 4u);
    EXPECT_EQ(GetForegroundWindow(), hwnd);
}

TEST_F(LayerTest, ABoxOrDialogGivesActivationBackToItsOwnerEvenWhenNoneWasActive)
{
    HWND hwnd = topLevel();
    ShowWindow(hwnd, SW_SHOW);
    struct Row {
        const char* name;
        bool activeBefore;
        bool fileDialog;
    };
    for (const Row row :
         {Row{"box, owner active", true, false}, Row{"box, none active", false, false},
          Row{"dialog, none active", false, true}}) {
        SCOPED_TRACE(row.name);
        if (row.activeBefore)
            platform::testing::activate(hwnd);
        else
            platform::testing::deactivateAll();
        seen().clear();
        if (row.fileDialog) {
            platform::testing::cancelFileDialog();
            wchar_t path[MAX_PATH] = L"";
            OPENFILENAMEW dialog{};
            dialog.lStructSize = sizeof dialog;
            dialog.hwndOwner = hwnd;
            dialog.lpstrFile = path;
            dialog.nMaxFile = MAX_PATH;
            EXPECT_FALSE(GetOpenFileNameW(&dialog));
        } else {
            platform::testing::answerMessageBox(IDOK);
            MessageBoxW(hwnd, L"Told.", L"Caption", MB_OK);
        }
        EXPECT_EQ(GetActiveWindow(), hwnd);
        // WA_ACTIVE, never WA_CLICKACTIVE, and the frame takes the focus.
        ASSERT_FALSE(messagesTo(hwnd, {WM_ACTIVATE}).empty());
        const auto activations = messagesTo(hwnd, {WM_ACTIVATE, WM_SETFOCUS});
        EXPECT_EQ(activations.back(), UINT(WM_SETFOCUS));
        for (const Seen& s : seen()) {
            if (s.hwnd == hwnd && s.message == WM_ACTIVATE && LOWORD(s.wParam) != WA_INACTIVE) {
                EXPECT_EQ(LOWORD(s.wParam), WA_ACTIVE);
            }
        }
        EXPECT_EQ(GetFocus(), hwnd);
    }
}

namespace {

HWND forwardTo = nullptr;

LRESULT CALLBACK forwardingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    seen().push_back({hwnd, message, wParam, lParam});
    if (message == WM_SETFOCUS && forwardTo) {
        SetFocus(forwardTo);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

TEST_F(LayerTest, AFocusPassedOnInWmSetFocusIsWhereTheKeysGo)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = forwardingProc;
    windowClass.lpszClassName = L"Forwarding Class";
    RegisterClassW(&windowClass);
    HWND hwnd = CreateWindowExW(0, L"Forwarding Class", L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 500, 500, nullptr, nullptr, nullptr, nullptr);
    forwardTo = edit(hwnd, ES_MULTILINE);
    ShowWindow(hwnd, SW_SHOW);
    platform::testing::deactivateAll();
    platform::testing::answerMessageBox(IDOK);
    MessageBoxW(hwnd, L"Told.", L"Caption", MB_OK);
    platform::testing::processEvents();
    EXPECT_EQ(GetFocus(), forwardTo);
    // Real key presses at the window go where Qt's focus is: into the edit control.
    platform::testing::typeText(nullptr, L"typed");
    EXPECT_EQ(textOf(forwardTo), L"typed");
    forwardTo = nullptr;
}

namespace {

std::vector<UINT_PTR> fired;

void CALLBACK timerProc(HWND, UINT message, UINT_PTR id, DWORD)
{
    if (message == WM_TIMER)
        fired.push_back(id + 100);
}

std::vector<UINT_PTR> timersOf(HWND hwnd)
{
    std::vector<UINT_PTR> ids;
    for (const Seen& s : seen()) {
        if (s.hwnd == hwnd && s.message == WM_TIMER)
            ids.push_back(s.wParam);
    }
    ids.insert(ids.end(), fired.begin(), fired.end());
    return ids;
}

// The program busy for a while: it takes no messages meanwhile.
void stayBusy(int ms)
{
    usleep(useconds_t(ms) * 1000);
}

} // namespace

TEST_F(LayerTest, ATimerThatExpiredWhileBusyGivesOneWmTimerAndEndsWithItsWindow)
{
    HWND hwnd = topLevel();
    fired.clear();
    EXPECT_EQ(SetTimer(hwnd, 7, 10, nullptr), 7u);
    EXPECT_EQ(SetTimer(hwnd, 8, 0, timerProc), 8u); // raised to 10 ms
    stayBusy(60);                                   // several periods pass
    platform::testing::processEvents();
    EXPECT_EQ(timersOf(hwnd), (std::vector<UINT_PTR>{7, 108}));
    EXPECT_TRUE(KillTimer(hwnd, 8));
    EXPECT_FALSE(KillTimer(hwnd, 8));
    EXPECT_FALSE(SetTimer(nullptr, 1, 10, nullptr));

    // Set again, a timer starts its period afresh: re-armed on every key, it waits for a pause.
    seen().clear();
    fired.clear();
    const auto someFired = [&] { return !timersOf(hwnd).empty(); };
    for (int i = 0; i < 5; ++i) {
        SetTimer(hwnd, 7, 80, nullptr);
        EXPECT_FALSE(platform::testing::waitFor(someFired, 30));
    }
    EXPECT_TRUE(platform::testing::waitFor(someFired));
    EXPECT_EQ(timersOf(hwnd), (std::vector<UINT_PTR>{7}));

    seen().clear();
    fired.clear();
    DestroyWindow(hwnd);
    EXPECT_FALSE(platform::testing::waitFor(someFired, 30));
    EXPECT_FALSE(KillTimer(hwnd, 7));
}

TEST_F(LayerTest, LineMessagesCountLinesBetweenCrLfAndGetLineCopiesWhatTheFirstWordAllows)
{
    HWND parent = topLevel();
    HWND multi = edit(parent, ES_MULTILINE);
    SetWindowTextW(multi, L"one\r\ntwo\rstill two\r\n\r\nlast");
    EXPECT_EQ(SendMessageW(multi, EM_GETLINECOUNT, 0, 0), 4);
    struct Row {
        const char* name;
        UINT message;
        WPARAM wParam;
        LRESULT result;
    };
    const Row rows[] = {
        {"first line starts at 0", EM_LINEINDEX, 0, 0},
        {"a lone CR breaks no line", EM_LINEINDEX, 2, 20},
        {"the last line", EM_LINEINDEX, 3, 22},
        {"no such line", EM_LINEINDEX, 4, -1},
        {"length of the line of a position", EM_LINELENGTH, 6, 13},
        {"length of an empty line", EM_LINELENGTH, 20, 0},
        {"a position past the end", EM_LINELENGTH, 99, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SendMessageW(multi, row.message, row.wParam, 0), row.result);
    }
    SendMessageW(multi, EM_SETSEL, 7, 7);
    EXPECT_EQ(SendMessageW(multi, EM_LINEINDEX, WPARAM(-1), 0), 5) << "the caret's line";
    SendMessageW(multi, EM_SETSEL, 1, 7);
    EXPECT_EQ(SendMessageW(multi, EM_LINELENGTH, WPARAM(-1), 0), 1 + 11)
        << "what the selection leaves of its lines";

    wchar_t buffer[16] = {};
    const auto room = [&buffer](WORD size) { std::memcpy(buffer, &size, sizeof size); };
    room(5);
    EXPECT_EQ(SendMessageW(multi, EM_GETLINE, 1, LPARAM(buffer)), 5);
    EXPECT_EQ(std::wstring(buffer, 5), L"two\rs");
    room(16);
    EXPECT_EQ(SendMessageW(multi, EM_GETLINE, 2, LPARAM(buffer)), 0);
    EXPECT_EQ(SendMessageW(multi, EM_GETLINE, 9, LPARAM(buffer)), 0);
}

TEST_F(LayerTest, ALineWiderThanAnIntOfPixelsScrollsTowardsItsEndWithoutOverflow)
{
    HWND parent = topLevel();
    HWND multi = edit(parent, ES_MULTILINE | WS_HSCROLL);
    // The largest font drawn and two million characters: more pixels than an int counts.
    HFONT huge =
        CreateFontW(-2000, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS,
                    CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, L"Courier New");
    SendMessageW(multi, WM_SETFONT, reinterpret_cast<WPARAM>(huge), TRUE);
    const std::wstring line(2'000'000, L'm');
    SetWindowTextW(multi, line.c_str());
    SendMessageW(multi, EM_SETSEL, 2'000'000, 2'000'000);
    SendMessageW(multi, EM_SCROLLCARET, 0, 0);
    platform::testing::paintNow(parent);
    EXPECT_GT(platform::testing::horizontalScroll(multi), 1 << 28);
}
