// The focus of the editor's windows that are not the main one: a plain window does not remember
// which of its controls had the focus, so each keeps it across switching away and back itself.
#pragma once

#include "platform/win32.h"

// For WM_ACTIVATE: remembers the focused control when the window goes inactive, and gives the
// focus back to it when the window is active again, a box with its text selected. True when it did;
// the window procedure then returns 0 without DefWindowProcW, which would give the focus to the
// window itself.
bool keepFocusAcrossActivation(HWND window, WPARAM wParam);
