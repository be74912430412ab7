// The status bar along the bottom of the main window: the caret's line and column, and the
// document's line ends and encoding. Hidden until the user shows it from the View menu, so the
// window keeps its layout; the choice is kept in "settings.ini".
#pragma once

#include "platform/win32.h"

#include <cstddef>

// The bar's parts, left to right after the room that stretches: the caret's place, the line ends
// and the encoding.
constexpr int statusPartPosition = 1;
constexpr int statusPartLineEnds = 2;
constexpr int statusPartEncoding = 3;

// WM_CREATE, once the settings are read: the bar, shown or not as they say.
void createStatusBar(HWND mainWindow);
// The View menu's Status bar: shows or hides it, and keeps the choice.
void toggleStatusBar(HWND mainWindow);
// WM_SIZE: the bar follows the window's width. Returns the height it takes from the edit
// control, 0 while hidden.
int layOutStatusBar();
// The caret's line and column, after anything that may have moved it.
void updateStatusBar();
// The document's line ends and encoding, after they may have changed: the main window runs it
// when its title is set, as every change of them (opening, saving, New, the Format menu) sets
// the title too.
void updateStatusFormat();

// Where the caret is: the end of the selection that moves, which the selection alone does not
// tell.
std::size_t caretPosition(HWND edit);
