// Start-up steps of wWinMain, shared with the test fixture so tests start the editor the same way.
#pragma once

#include "platform/win32.h"

void registerWindowClasses(HINSTANCE instance);
HWND createMainWindow(HINSTANCE instance);
