// Selection positions as both kinds of edit control take and report them.
#pragma once

#include "platform/win32.h"

#include <algorithm>

namespace platform {

// Clamps an EM_SETSEL pair the way Windows does: (0, -1) selects all, a negative start only
// removes the selection, anything past the end means the end.
inline void clampSelection(long length, long& start, long& end, bool& deselect)
{
    deselect = start < 0;
    if (end < 0 || end > length)
        end = length;
    start = std::clamp(start, 0L, length);
}

// EM_GETSEL: both ends through the pointers when given, and packed into the result when they fit.
inline LRESULT packedSelection(long start, long end, WPARAM startOut, LPARAM endOut)
{
    if (auto* p = reinterpret_cast<DWORD*>(startOut))
        *p = DWORD(start);
    if (auto* p = reinterpret_cast<DWORD*>(endOut))
        *p = DWORD(end);
    if (start > 0xFFFF || end > 0xFFFF)
        return -1;
    return MAKELONG(WORD(start), WORD(end));
}

} // namespace platform
