// Keys the editor answers itself in the text, before the control: the undo keys take the
// document's record, and Ctrl+Backspace and Ctrl+Delete erase a word alike on every platform
// (one control inserts a box character for Ctrl+Backspace).
#pragma once

#include "platform/win32.h"

#include <optional>

// The answer for a key the editor took; nothing for one the control is to have.
std::optional<LRESULT> ownKey(HWND edit, UINT message, WPARAM wParam);
