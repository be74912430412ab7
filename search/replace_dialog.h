// The Replace window: what to find, what to put in its place, Match case, and Find next, Replace,
// Replace all and Cancel. Like the Find window it is owned by the main window and leaves it usable.
#pragma once

#include "platform/win32.h"

constexpr wchar_t replaceWindowClassName[] = L"Replace Dialog Class";

// The Replace window's controls.
constexpr int replaceFindEditId = 100;
constexpr int replaceWithEditId = 101;
constexpr int replaceFindNextId = IDOK;   // Enter
constexpr int replaceCancelId = IDCANCEL; // Esc
constexpr int replaceMatchCaseId = 3;
constexpr int replaceButtonId = 4;
constexpr int replaceAllId = 5;

// Opens the Replace window, or brings the open one forward.
void openReplaceWindow(HWND owner);
LRESULT CALLBACK replaceWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
