// The Find window: a label, a one-line box for the search text, the Find button, the Match case
// box and the Cancel button, in reading order, and the forward search that selects each match in
// the document. Its ids are IDOK and IDCANCEL, so Enter finds and Esc closes.
#include "search/find_dialog.h"

#include "editor/globals.h"
#include "search/find_next.h"
#include "ui/kept_focus.h"
#include "ui/window_parts.h"

#include <string>

namespace {

HWND createControl(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                   int width, int id, HWND window)
{
    return createChild(window, className, text, style, {x, y, width, FindDialog.controlHeight}, id);
}

bool matchesCase(HWND findWindow)
{
    return IsDlgButtonChecked(findWindow, matchCaseId) == BST_CHECKED;
}

void onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    // Each Find window listens to and searches with its own box, so an older window keeps
    // working, and never reads a destroyed box, after a newer one was opened and closed.
    HWND ownEdit = GetDlgItem(hwnd, findEditId);
    const WORD code = HIWORD(wParam);
    if (ownEdit && reinterpret_cast<HWND>(lParam) == ownEdit && code != EN_SETFOCUS &&
        code != EN_KILLFOCUS)
        FindDialog.startPosition = 0;
    if (wParam == findButtonId) {
        const std::wstring needle = windowText(ownEdit);
        FindDialog.findNext(needle.c_str(), hwnd, matchesCase(hwnd));
        // Ready for the next word, whether the search was pressed, clicked or told of a miss.
        if (IsWindow(ownEdit))
            SetFocus(ownEdit);
    } else if (wParam == cancelButtonId) {
        DestroyWindow(hwnd);
        SetActiveWindow(mainWindow);
    }
}

} // namespace

void openFindWindow(HWND owner)
{
    HWND window = CreateWindowExW(
        0, FindDialog.className, L"Find string in document", WS_VISIBLE | WS_SYSMENU, CW_USEDEFAULT,
        CW_USEDEFAULT, FindDialog.width, FindDialog.height, owner, nullptr, nullptr, nullptr);
    constexpr DWORD stop = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP;
    createControl(L"static", L"Fi&nd what:", WS_CHILD | WS_VISIBLE | WS_GROUP, 10, 10, 80, 0,
                  window);
    FindDialog.findEdit =
        createControl(L"edit", L"", stop | WS_BORDER, 90, 10, 170, findEditId, window);
    FindDialog.findButton = createControl(L"button", L"&Find", stop | BS_DEFPUSHBUTTON, 285, 10,
                                          FindDialog.buttonWidth, findButtonId, window);
    // Checked: the search matches case, as it always did.
    createControl(L"button", L"Match &case", stop | BS_AUTOCHECKBOX, 10, 40, 150, matchCaseId,
                  window);
    CheckDlgButton(window, matchCaseId, BST_CHECKED);
    createControl(L"button", L"Cancel", stop, 285, 40, FindDialog.buttonWidth, cancelButtonId,
                  window);
    SetFocus(FindDialog.findEdit);
}

LRESULT CALLBACK findWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        FindDialog.startPosition = 0;
        break;
    case WM_ACTIVATE:
        if (keepFocusAcrossActivation(hwnd, wParam))
            return 0;
        break;
    case WM_DESTROY:
        SetActiveWindow(mainWindow);
        break;
    case WM_PAINT:
        paintBackground(hwnd, COLOR_MENU);
        break;
    case WM_COMMAND:
        onCommand(hwnd, wParam, lParam);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Past the last match the search goes round to the first one, with a beep, rather than saying
// that the end was reached: the user sees the next match at once, F3 does the same, and the only
// box left means what it says, that the document holds no occurrence at all.
void FindDialog::findNext(const wchar_t* needle, HWND owner, bool matchCase)
{
    lastSearch = {needle, matchCase};
    TextRange match;
    if (searchDocument(lastSearch, std::size_t(startPosition), SearchDirection::forward, owner,
                       match))
        startPosition = int(match.end);
    else
        startPosition = 0;
}
