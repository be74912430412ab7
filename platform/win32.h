// The one platform header of the editor: the real Windows SDK, or our Qt layer's Win32 subset.
#pragma once

#ifdef _WIN32
// windows.h first: the common dialog header builds on its types.
#include <windows.h>

#include <aclapi.h>
#include <commctrl.h>
#include <commdlg.h>
#include <sddl.h>
#include <shlobj.h>
static_assert(sizeof(OPENFILENAMEW) == 88, "the editor passes the 32-bit structure size");
// The line break of the system's own text files.
inline constexpr wchar_t systemLineBreak[] = L"\r\n";
#else
#include "platform/win32_subset.h"
#endif
