// The Go to line window: a line number, and the caret to the start of that line.
#pragma once

#include "platform/win32.h"

#include <optional>
#include <string_view>

constexpr wchar_t goToWindowClassName[] = L"Go To Line Class";

// The Go to line window's controls.
constexpr int goToLineEditId = 100;
constexpr int goToButtonId = IDOK;     // Enter
constexpr int goToCancelId = IDCANCEL; // Esc

// Opens the Go to line window with the caret's line in it, or brings the open one forward.
void openGoToWindow(HWND owner);
LRESULT CALLBACK goToWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The number typed: decimal digits, blanks around them allowed; nothing for anything else. A
// number too large to be any line's reads as 4294967295.
std::optional<unsigned long> lineNumberOf(std::wstring_view typed);
