// The keys of the commands the Edit menu added: F3, Shift+F3, Ctrl+H and Ctrl+G, an accelerator
// table that the message loop translates. Not hot keys: a hot key is the whole system's, so F3
// and Ctrl+H would stop working in every other program while this one runs, and since the hot
// keys exist only while the main window is active, F3 would do nothing in the Find window.
#pragma once

#include "platform/win32.h"

// WM_CREATE of the main window.
void createShortcuts();

// A step of the message loop: true when the message was one of the keys, which has then been
// turned into its command and must not be dispatched.
bool translateShortcut(MSG* message);
