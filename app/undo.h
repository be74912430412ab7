// Edit → Undo and Redo, through the document's record: any number of steps back and on.
#pragma once

#include "platform/win32.h"

// Each is false when there was no step to take.
bool undoEdit(HWND window);
bool redoEdit(HWND window);
