// The save question that comes before the text is dropped (New, Open, closing).
#pragma once

#include "platform/win32.h"

// For a changed document, asks whether to save it. True when the text may go: the document was
// unchanged, the user said No, or said Yes and the save happened; Cancel keeps it.
bool mayDropText(HWND window);
