// Every window procedure of the editor runs inside this guard. An exception must never leave a
// window procedure: on Windows it would unwind through the system's own code and end the
// program with the unsaved text. What can run short of memory is a command's copy or reservation
// of the whole text, so a command that fails that way is told, and the window goes on with the
// document as the command left it (each command keeps the document whole until it succeeds).
#pragma once

#include "platform/win32.h"

#include <new>
#include <stdexcept>

void tellOutOfMemory(HWND window);

template <WNDPROC procedure>
LRESULT CALLBACK guardedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return procedure(hwnd, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    tellOutOfMemory(hwnd);
    return 0;
}
