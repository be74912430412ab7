// The text's shortcut menu, the editor's own: the control's menu runs its commands inside the
// control, where Undo is its one step and a change passes by no message the editor sees.
#pragma once

#include "platform/win32.h"

// WM_CONTEXTMENU: where holds the screen point, or -1 for the keyboard (the caret's place).
void showEditMenu(HWND edit, LPARAM where);
