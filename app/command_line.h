// The file named on the command line.
#pragma once

#include "platform/win32.h"

#include <string>

// The first argument of wWinMain's command line, unquoted as Windows reads arguments; empty when
// there is none. Any further arguments are left alone.
std::wstring fileOfCommandLine(LPCWSTR commandLine);
