// Files dropped onto the main window.
#pragma once

#include "platform/win32.h"

// Opens the first of the dropped files as Open would, and releases the drop.
void openDroppedFile(HWND window, HDROP drop);
