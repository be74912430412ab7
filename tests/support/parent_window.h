// A visible top-level window of a class of the test's own, for tests of the controls alone.
#pragma once

#include "platform/testing/testing.h"

// Registers the class with the procedure, shows a 400 x 300 window of it and lets the window
// system's activation arrive, so that clicks can focus. Null when the window was not made.
inline HWND showParentWindow(WNDPROC procedure, const wchar_t* className)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    HWND parent = CreateWindowExW(0, className, className, WS_VISIBLE | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 400, 300, nullptr, nullptr, nullptr, nullptr);
    platform::testing::processEvents();
    return parent;
}
