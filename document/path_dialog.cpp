// The Open and Save as dialogs, with the list of file types and a path buffer for long paths.
#include "document/path_dialog.h"

#include "document/file_messages.h"
#include "editor/globals.h"
#include "ui/window_parts.h"

namespace {

// The longest path Windows accepts, with its terminating zero.
constexpr DWORD pathBufferSize = 32768;

} // namespace

bool choosePath(HWND window, PathDialog kind, std::wstring& path)
{
    std::wstring buffer(pathBufferSize, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = textFileFilter;
    // Open starts on all files, so a README or a .conf is in the list; Save as on text files.
    dialog.nFilterIndex = kind == PathDialog::open ? 2 : 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = pathBufferSize;
    const BOOL chosen =
        kind == PathDialog::open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!chosen) {
        const DWORD error = CommDlgExtendedError();
        if (error != 0)
            tellUser(window, dialogFailure(error), MB_ICONERROR);
        return false;
    }
    path = buffer.c_str();
    return true;
}
