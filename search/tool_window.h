// What the Replace and Go to line windows share: one of each at a time, owned by the main window,
// painted in the menu colour, the focused control kept while the user is in another window, and
// the main window active again once they close.
#pragma once

#include "platform/win32.h"

// Creates the window in open, or, when open names one still there, brings that one forward and
// returns null.
HWND openToolWindow(HWND& open, const wchar_t* className, const wchar_t* title, int width,
                    int height, HWND owner);

// The window procedure's part they share; onCommand acts on WM_COMMAND.
LRESULT toolWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                          void (*onCommand)(HWND hwnd, WPARAM wParam));
