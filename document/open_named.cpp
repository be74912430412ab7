// Opening a file named on the command line or dropped onto the window, as Open opens one.
#include "document/open_named.h"

#include "document/save.h"
#include "editor/editor.h"
#include "files/file_errors.h"
#include "files/file_io.h"
#include "ui/window_parts.h"

void openNamedFile(HWND window, const std::wstring& name)
{
    if (name.empty())
        return;
    std::wstring path;
    const DWORD error = fullPathOf(name, path);
    if (error != ERROR_SUCCESS) {
        tellUser(window, openFailure(name, error), MB_ICONERROR);
        return;
    }
    // A folder can be named or dropped, never opened: said before the save question, which
    // would otherwise be asked for nothing.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        tellUser(window, openFailure(path, ERROR_DIRECTORY), MB_ICONERROR);
        return;
    }
    if (!nameIsText(path)) {
        tellUser(window, openFailure(path, ERROR_NO_UNICODE_TRANSLATION), MB_ICONERROR);
        return;
    }
    if (mayDropText(window))
        Editor.readFile(path.c_str(), window);
}
