// Enter and Esc in the one-line boxes of the Replace and Go to windows, and Esc in the Find
// window's. The message loop hands keys to no dialog manager, so the boxes take them themselves:
// Enter presses the window's default button, Esc its Cancel button, as a dialog would.
#pragma once

#include "platform/win32.h"

// Subclasses box so that Enter sends the parent WM_COMMAND for enterId and Esc for escapeId.
void takeEnterAndEscape(HWND box, int enterId, int escapeId);

// Sends the box's window the command of its button id, as a click on the button would.
void pressButtonBeside(HWND box, int id);
