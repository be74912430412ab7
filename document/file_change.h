// Noticing that another program changed the document's file since it was opened or saved, so
// that Save never writes over that change without asking.
#pragma once

#include "platform/win32.h"

// Before Save writes the document's file: when a file is there that is not the one the document
// last knew, asks whether to replace it. True when Save may go on.
bool mayReplaceFile(HWND window);
