// Esc stays in the text: a multi-line edit control asks its parent to close on Esc, and a user who
// presses it out of habit (after a menu, after Find) must not see the window go. The control
// reports changes of its text but no move of its caret, so the status bar looks again after each
// message that may have moved it.
#include "app/edit_subclass.h"

#include "app/status_bar.h"
#include "ui/memory_guard.h"

namespace {

WNDPROC originalProc = nullptr;

bool isEscape(UINT message, WPARAM wParam)
{
    return (message == WM_KEYDOWN && wParam == VK_ESCAPE) ||
           (message == WM_CHAR && wParam == VK_ESCAPE);
}

bool movesCaret(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_SETTEXT:
    case EM_SETSEL:
    case EM_REPLACESEL:
    case EM_UNDO:
    case WM_UNDO:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (isEscape(message, wParam))
        return 0;
    const LRESULT result = CallWindowProcW(originalProc, hwnd, message, wParam, lParam);
    if (movesCaret(message))
        updateStatusBar();
    return result;
}

} // namespace

void subclassEditControl(HWND edit)
{
    originalProc = reinterpret_cast<WNDPROC>(GetWindowLongW(edit, GWL_WNDPROC));
    SetWindowLongW(edit, GWL_WNDPROC, reinterpret_cast<LONG>(guardedProc<editProc>));
}
