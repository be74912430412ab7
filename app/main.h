// Start-up steps of wWinMain, shared with the test fixture so tests start the editor the same way.
#pragma once

#include "platform/win32.h"

#include <string>

void registerWindowClasses(HINSTANCE instance);
HWND createMainWindow(HINSTANCE instance);

// What the editor shows first: unsaved text an earlier editor left, if the user restores it, or
// else the file named on the command line.
void openFirstText(HWND window, const std::wstring& named);
