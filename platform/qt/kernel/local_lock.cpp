// LocalLock and LocalUnlock: the handle of a multi-line edit control's text (EM_GETHANDLE) locks
// to the text itself; any other block is fixed memory, which locks to its own address.
#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/windows/window_p.h"

using namespace platform;

LPVOID LocalLock(HLOCAL memory)
{
    if (!memory) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (TextView* edit = textViewOf(static_cast<HWND>(memory))) {
        const wchar_t* text = edit->lockText();
        if (!text)
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return const_cast<wchar_t*>(text);
    }
    return memory;
}

BOOL LocalUnlock(HLOCAL memory)
{
    TextView* edit = textViewOf(static_cast<HWND>(memory));
    if (edit && edit->locked()) {
        edit->unlockText();
        if (edit->locked())
            return TRUE;
        SetLastError(ERROR_SUCCESS);
        return FALSE;
    }
    SetLastError(158); // ERROR_NOT_LOCKED
    return FALSE;
}
