// Choosing the encoding and line ends the next save writes, from the Format menu.
#pragma once

#include "encoding/text_format.h"
#include "platform/win32.h"

// Each takes the choice when it changes what a save would write. A mixed file's line ends change
// on the next save whichever form is chosen, so choosing one always counts.
void chooseEncoding(HWND window, Encoding encoding);
void chooseLineEnd(HWND window, LineEnd lineEnd);
