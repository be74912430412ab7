// The Format menu's "Encoding" and "Line ends" submenus: they show how Save writes the document,
// with a bullet by the current choice, and choose another.
#pragma once

#include "platform/win32.h"

// One command per encoding and per line-end form, in the order of their enums.
constexpr WORD commandEncoding = 200;
constexpr WORD commandLineEnd = 210;

// Fills the two submenus and appends them to the menu.
void appendEncodingMenus(HMENU menu);
// For WM_INITMENUPOPUP: puts the bullets on the document's encoding and line ends.
void showTextFormat(HMENU popup);
// Runs the command if it is one of the submenus'; any other command does nothing here.
void runTextFormatCommand(HWND window, WPARAM command);
