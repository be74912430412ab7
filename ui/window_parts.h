// What the editor's windows share: making a child control, painting the background, reading a
// window's whole text or giving the edit control a new one, and telling the user something.
#pragma once

#include "platform/win32.h"

#include <memory>
#include <new>
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

// Shows the edit control's text from the top, with nothing to undo.
void showFromTop(HWND edit);

// Gives the edit control a new text a piece at a time, so that a large text never exists whole
// beside the control's own: fill calls the function it is given with each piece in turn. The
// control then shows the text from the top with nothing to undo, as a text set whole is shown.
// False when the control took only a part (it ran out of memory): that part must never pass for
// the whole text.
template <typename Fill> bool replaceText(HWND edit, Fill fill)
{
    SetWindowTextW(edit, L"");
    ULONGLONG given = 0;
    try {
        fill([edit, &given](const std::wstring& piece) {
            given += piece.size();
            SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        });
    } catch (const std::bad_alloc&) {
        // The next piece had no memory: what the control holds so far is a part.
        given = ~ULONGLONG(0);
    }
    showFromTop(edit);
    return ULONGLONG(GetWindowTextLengthW(edit)) == given;
}

// Shows the text in a box owned by the window, with the product's name as caption.
void tellUser(HWND window, const std::wstring& text, UINT icon);
