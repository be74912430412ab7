// An edit control that has run out of memory: it takes no more text, and says so to the main
// window with EN_ERRSPACE, as a real one does.
#pragma once

#include "editor/globals.h"
#include "platform/win32.h"

inline WNDPROC fullEditOriginalProc = nullptr;

inline LRESULT CALLBACK fullEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == EM_REPLACESEL && lParam && *reinterpret_cast<const wchar_t*>(lParam)) {
        SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(0, EN_ERRSPACE), LPARAM(hwnd));
        return 0;
    }
    return CallWindowProcW(fullEditOriginalProc, hwnd, message, wParam, lParam);
}

inline void fillEditControl(HWND edit)
{
    fullEditOriginalProc = reinterpret_cast<WNDPROC>(GetWindowLongW(edit, GWL_WNDPROC));
    SetWindowLongW(edit, GWL_WNDPROC, reinterpret_cast<LONG>(fullEditProc));
}

inline void freeEditControl(HWND edit)
{
    SetWindowLongW(edit, GWL_WNDPROC, reinterpret_cast<LONG>(fullEditOriginalProc));
}
