// Asking the user for a file's path with the Open or the Save as dialog.
#pragma once

#include "platform/win32.h"

#include <string>

enum class PathDialog { open, saveAs };

// Shows the dialog owned by the window; true with the chosen full path. Cancel gives false
// silently; a dialog that fails (a path too long even for the large buffer) tells the user why.
bool choosePath(HWND window, PathDialog kind, std::wstring& path);
