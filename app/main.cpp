// The entry point: registers the three window classes, creates and shows the main window, opens
// the file named on the command line and runs the message loop until the main window has been
// destroyed.
#include "app/main.h"

#include "app/command_line.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "document/open_named.h"
#include "editor/globals.h"
#include "files/file_errors.h"
#include "format/format_dialog.h"
#include "recovery/recovery.h"
#include "search/find_dialog.h"
#include "search/goto_dialog.h"
#include "search/replace_dialog.h"
#include "ui/memory_guard.h"
#include "ui/window_parts.h"

namespace {

constexpr WORD iconId = 101;

void registerClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* name, HICON icon)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    // A failed registration shows up as a failed window creation.
    RegisterClassW(&windowClass);
}

} // namespace

void registerWindowClasses(HINSTANCE instance)
{
    registerClass(instance, guardedProc<mainWindowProc>, mainWindowClassName,
                  LoadIconW(instance, MAKEINTRESOURCEW(iconId)));
    registerClass(instance, guardedProc<formatWindowProc>, formatWindowClassName, nullptr);
    registerClass(instance, guardedProc<findWindowProc>, FindDialog.className, nullptr);
    registerClass(instance, guardedProc<replaceWindowProc>, replaceWindowClassName, nullptr);
    registerClass(instance, guardedProc<goToWindowProc>, goToWindowClassName, nullptr);
}

HWND createMainWindow(HINSTANCE instance)
{
    mainWindow = CreateWindowExW(0, mainWindowClassName, initialTitle.c_str(), WS_OVERLAPPEDWINDOW,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 500, 500, nullptr, nullptr, instance,
                                 nullptr);
    return mainWindow;
}

void openFirstText(HWND window, const std::wstring& named)
{
    // Restored text is never one answer away from being lost: the named file's Open would ask
    // to save it and drop it, and its copy, at No. It waits until the user saved or closed it.
    if (!Recovery.offer(window)) {
        openNamedFile(window, named);
        return;
    }
    if (!named.empty())
        tellUser(
            window,
            L"Quenwrite restored your unsaved text from an earlier session, so it did not open " +
                quoted(named) +
                L" in its place.\n\nSave the restored text, or close it, and then open the file.",
            MB_ICONINFORMATION);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    registerWindowClasses(instance);
    if (!createMainWindow(instance))
        return 0;
    ShowWindow(mainWindow, showCommand);
    // After showing: a box about unsaved text or the file then stands over the window it
    // concerns.
    openFirstText(mainWindow, fileOfCommandLine(commandLine));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0)) {
        if (translateShortcut(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
