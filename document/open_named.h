// Opening a file named outside the Open dialog: on the command line or dropped onto the window.
#pragma once

#include "platform/win32.h"

#include <string>

// Does what Open does with the file chosen in its dialog: the save question for a changed
// document first, then the file read under its full path. An empty name does nothing.
void openNamedFile(HWND window, const std::wstring& name);
