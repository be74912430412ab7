// What the editor's windows share: making a child control, painting the background and reading
// a window's whole text.
#pragma once

#include "platform/win32.h"

#include <memory>
#include <string>
#include <string_view>

// Where a child control sits in its parent's client area.
struct ControlBox {
    int x;
    int y;
    int width;
    int height;
};

HWND createChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style,
                 ControlBox box, int id, HINSTANCE instance = nullptr);

// Fills what WM_PAINT asks to paint with a system colour (COLOR_WINDOW, COLOR_MENU, ...).
void paintBackground(HWND hwnd, int systemColour);

// The whole text of a window, read in one copy. A destroyed or null window reads as empty.
std::wstring windowText(HWND hwnd);

// The same in a buffer that is not filled before the copy: a hundred megabytes of text are several
// hundred megabytes of wide characters, and touching them twice took longer than all the rest of a
// save.
struct WholeText {
    std::unique_ptr<wchar_t[]> buffer;
    std::wstring_view text;
};
WholeText wholeText(HWND hwnd);
