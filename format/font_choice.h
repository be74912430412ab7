// The one rule that turns a font choice (size, weight, italic, family) into a font.
#pragma once

#include "platform/win32.h"

HFONT createFontFromChoice(int size, int weight, bool italic, const wchar_t* family);
