// Enter and Esc in a one-line box, turned into the command of a button of its window.
#include "search/box_keys.h"

namespace {

// Every one-line box has the same procedure underneath, the edit class's own.
WNDPROC boxOriginalProc = nullptr;

LRESULT CALLBACK boxKeysProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        const LONG ids = GetWindowLongW(hwnd, GWL_USERDATA);
        // Kept from the box, which would only beep at it.
        pressButtonBeside(hwnd, wParam == VK_RETURN ? LOWORD(ids) : HIWORD(ids));
        return 0;
    }
    // Windows follows each with its character, which the box would beep at too.
    if (message == WM_CHAR && (wParam == L'\r' || wParam == 0x1B))
        return 0;
    return CallWindowProcW(boxOriginalProc, hwnd, message, wParam, lParam);
}

} // namespace

void pressButtonBeside(HWND box, int id)
{
    const HWND window = reinterpret_cast<HWND>(GetWindowLongW(box, GWL_HWNDPARENT));
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void takeEnterAndEscape(HWND box, int enterId, int escapeId)
{
    SetWindowLongW(box, GWL_USERDATA, MAKELONG(WORD(enterId), WORD(escapeId)));
    boxOriginalProc = reinterpret_cast<WNDPROC>(GetWindowLongW(box, GWL_WNDPROC));
    SetWindowLongW(box, GWL_WNDPROC, reinterpret_cast<LONG>(boxKeysProc));
}
