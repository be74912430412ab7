// The main edit control's subclass: the editor's own word on the control's messages, before the
// control has them or after.
#pragma once

#include "platform/win32.h"

// WM_CREATE, once the control is made.
void subclassEditControl(HWND edit);
