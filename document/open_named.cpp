// Opening a file named on the command line or dropped onto the window, as Open opens one.
#include "document/open_named.h"

#include "app/editor.h"
#include "document/file_messages.h"
#include "document/save.h"

namespace {

// The dialog hands Open a full path; a name relative to the current folder must become one
// too, or a later dialog that changes the folder would send Save to another file.
DWORD fullPathOf(const std::wstring& name, std::wstring& path)
{
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return GetLastError();
    path.assign(size, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), size, path.data(), nullptr);
    if (length == 0 || length >= size)
        return length == 0 ? GetLastError() : ERROR_INVALID_NAME;
    path.resize(length);
    return ERROR_SUCCESS;
}

} // namespace

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
    if (mayDropText(window))
        Editor.readFile(path.c_str(), window);
}
