// The Edit and View menus and their commands: what the edit control does with the selection,
// searching again, Replace, Go to line, and the status bar.
#pragma once

#include "platform/win32.h"

constexpr WORD commandUndo = 9;
constexpr WORD commandCut = 10;
constexpr WORD commandCopy = 11;
constexpr WORD commandPaste = 12;
constexpr WORD commandDelete = 13;
constexpr WORD commandSelectAll = 14;
constexpr WORD commandFindNext = 15;
constexpr WORD commandFindPrevious = 16;
constexpr WORD commandReplace = 17;
constexpr WORD commandGoTo = 18;
constexpr WORD commandStatusBar = 19;

// Appended to the menu bar in its place: Edit after File, View after Format.
void appendEditMenu(HMENU menuBar);
void appendViewMenu(HMENU menuBar);

// Runs an Edit or View command; false for any other identifier.
bool runEditCommand(HWND hwnd, WPARAM command);
