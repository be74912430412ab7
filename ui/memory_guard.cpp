// The words for a command that ran out of memory.
#include "ui/memory_guard.h"

#include "ui/window_parts.h"

void tellOutOfMemory(HWND window)
{
    tellUser(window,
             L"There was not enough memory to finish that, so it was stopped. The text you are "
             L"editing is kept. Close other programs or save your work, then try again.",
             MB_ICONERROR);
}
