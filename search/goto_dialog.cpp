// The Go to line window and the jump: the number is checked against the document's line count
// first, since the control has no line past its last, and a wrong one is told in plain words.
#include "search/goto_dialog.h"

#include "editor/editor.h"
#include "editor/globals.h"
#include "search/tool_window.h"
#include "ui/window_parts.h"

#include <algorithm>
#include <string>

namespace {

constexpr int width = 300;
constexpr int height = 110;
constexpr int controlHeight = 20;
// Past any line the control can have; larger numbers count as this one.
constexpr unsigned long tooLarge = 0xFFFFFFFF;

HWND openWindow = nullptr;

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

void tellRange(HWND window, std::wstring_view typed, unsigned long lines)
{
    const std::wstring range = L"Type a number from 1 to " + std::to_wstring(lines) + L".";
    std::wstring text;
    if (lineNumberOf(typed))
        text = L"This document has " + std::to_wstring(lines) +
               (lines == 1 ? L" line, so there is no line " : L" lines, so there is no line ") +
               std::wstring(typed) + L". " + range;
    else if (!typed.empty())
        text = L"\"" + std::wstring(typed) + L"\" is not a line number. " + range;
    else
        text = range;
    MessageBoxW(window, text.c_str(), L"Go to line", MB_OK | MB_ICONINFORMATION);
}

void goToLine(HWND window)
{
    const HWND edit = Editor.editControl;
    const std::wstring typed = windowText(GetDlgItem(window, goToLineEditId));
    const auto lines = static_cast<unsigned long>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    const std::optional<unsigned long> line = lineNumberOf(typed);
    const LRESULT start = line && *line >= 1 && *line <= lines
                              ? SendMessageW(edit, EM_LINEINDEX, WPARAM(*line - 1), 0)
                              : -1;
    if (start < 0) {
        tellRange(window, typed, lines);
        // Ready for another try: the number selected, so that typing replaces it.
        const HWND box = GetDlgItem(window, goToLineEditId);
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        return;
    }
    SendMessageW(edit, EM_SETSEL, WPARAM(start), start);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    DestroyWindow(window);
    // The user jumped there to work on it: the keys go to the text.
    SetFocus(edit);
}

void onCommand(HWND hwnd, WPARAM wParam)
{
    if (wParam == goToButtonId)
        goToLine(hwnd);
    else if (wParam == goToCancelId)
        DestroyWindow(hwnd);
}

void createControls(HWND window)
{
    constexpr DWORD stop = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP;
    createChild(window, L"static", L"&Line number:", WS_CHILD | WS_VISIBLE | WS_GROUP,
                {10, 10, 90, controlHeight}, 0);
    const HWND box = createChild(window, L"edit", L"", stop | WS_BORDER | ES_AUTOHSCROLL,
                                 {100, 10, 90, controlHeight}, goToLineEditId);
    createChild(window, L"button", L"&Go to", stop | BS_DEFPUSHBUTTON, {205, 10, 80, controlHeight},
                goToButtonId);
    createChild(window, L"button", L"Cancel", stop, {205, 40, 80, controlHeight}, goToCancelId);
    const LRESULT line = SendMessageW(Editor.editControl, EM_LINEFROMCHAR, WPARAM(-1), 0);
    SetWindowTextW(box, std::to_wstring(line + 1).c_str());
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
}

} // namespace

std::optional<unsigned long> lineNumberOf(std::wstring_view typed)
{
    while (!typed.empty() && isBlank(typed.front()))
        typed.remove_prefix(1);
    while (!typed.empty() && isBlank(typed.back()))
        typed.remove_suffix(1);
    if (typed.empty())
        return std::nullopt;
    unsigned long long number = 0;
    for (wchar_t c : typed) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        number = std::min<unsigned long long>(tooLarge, number * 10 + (c - L'0'));
    }
    return static_cast<unsigned long>(number);
}

void openGoToWindow(HWND owner)
{
    if (const HWND window =
            openToolWindow(openWindow, goToWindowClassName, L"Go to line", width, height, owner))
        createControls(window);
}

LRESULT CALLBACK goToWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return toolWindowMessage(hwnd, message, wParam, lParam, onCommand);
}
