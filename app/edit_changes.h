// How the editor hears every change the edit control makes to its text, on both platforms: the
// subclass copies the stretch around the selection before each message that may change the text
// and again after it, and the difference is the change, noted in the document's record. The
// control's own EN_CHANGE is the check: a change it reports while no message was watched, or one
// the copies cannot show whole, leaves the record without steps rather than with a wrong one.
#pragma once

#include "editor/edit_record.h"
#include "platform/win32.h"

// Runs a message through the control's procedure, watching the text when it may change.
LRESULT watchedMessage(HWND edit, WNDPROC original, UINT message, WPARAM wParam, LPARAM lParam);

// EN_CHANGE reached the main window.
void controlChangedText();

// Makes a change of the record (Undo, Redo) in the control, without noting it as a new one, and
// selects what it put in. False when the control did not take it whole.
bool makeChange(HWND edit, const TextChange& change);
