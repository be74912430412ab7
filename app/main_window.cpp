// The main window: its edit control, menus and hot keys, change tracking, the close question
// and the About box.
#include "app/main_window.h"

#include "app/commands.h"
#include "app/dropped_files.h"
#include "app/edit_changes.h"
#include "app/edit_subclass.h"
#include "app/status_bar.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "format/format_dialog.h"
#include "recovery/recovery.h"
#include "search/find_dialog.h"
#include "ui/window_parts.h"

namespace {

void onCreate(HWND hwnd)
{
    Editor.editControl =
        createChild(hwnd, L"edit", L"",
                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_NOHIDESEL | ES_MULTILINE,
                    {4, 4, 500, 500}, 0);
    // Lift the typing limit of 32,767 characters, so that a larger document stays editable.
    SendMessageW(Editor.editControl, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(Editor.editControl, WM_SETFONT, reinterpret_cast<WPARAM>(Editor.editFont), TRUE);
    SetFocus(Editor.editControl);
    subclassEditControl(Editor.editControl);
    buildCommands(hwnd);
    // mainWindow is still null during WM_CREATE; use the handle we were given.
    Editor.updateTitle(hwnd);
    Editor.loadSettings();
    registerHotKeys(hwnd);
    DragAcceptFiles(hwnd, TRUE);
    createStatusBar(hwnd);
}

void onSize(HWND hwnd)
{
    // A shown status bar takes its height from the edit control; hidden, the sizes are as ever.
    const int statusHeight = layOutStatusBar();
    if (!GetWindowRect(hwnd, &windowRect))
        return;
    SetWindowPos(Editor.editControl, nullptr, 0, 0, windowRect.right - windowRect.left - 23,
                 windowRect.bottom - windowRect.top - 66 - statusHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    // Only a real change of the text marks the document unsaved; focus changes, scrolling and
    // refused input leave it as it was.
    if (lParam && reinterpret_cast<HWND>(lParam) == Editor.editControl) {
        if (HIWORD(wParam) == EN_CHANGE) {
            controlChangedText();
            Document.change();
            Editor.updateTitle(hwnd);
            updateStatusBar();
            Recovery.documentChanged(hwnd);
        }
        return;
    }
    // High word 0 is a menu, 1 with no control an accelerator; a control's notification never
    // acts as a command.
    if (HIWORD(wParam) == 0)
        runCommand(hwnd, LOWORD(wParam));
    else if (HIWORD(wParam) == 1 && lParam == 0)
        runAccelerator(hwnd, LOWORD(wParam));
}

// The title is set whenever the document's file, format or saved state changes: the status bar's
// line ends and encoding follow it.
LRESULT onSetText(HWND hwnd, LPARAM lParam)
{
    const LRESULT set = DefWindowProcW(hwnd, WM_SETTEXT, 0, lParam);
    updateStatusFormat();
    return set;
}

void onActivate(HWND hwnd, WPARAM wParam)
{
    if (LOWORD(wParam) != WA_INACTIVE)
        registerHotKeys(hwnd);
    else
        unregisterHotKeys(hwnd);
}

void onHotKey(HWND hwnd, WPARAM id)
{
    if (GetForegroundWindow() == hwnd)
        runHotKey(hwnd, id);
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        onCreate(hwnd);
        break;
    case WM_SIZE:
        onSize(hwnd);
        break;
    case WM_ACTIVATE:
        onActivate(hwnd, wParam);
        break;
    case WM_SETFOCUS:
        // Activation focuses the frame; the keys belong in the text. The edit control does not
        // exist yet when the focus first arrives, during WM_CREATE.
        if (Editor.editControl)
            SetFocus(Editor.editControl);
        return 0;
    case WM_COMMAND:
        onCommand(hwnd, wParam, lParam);
        break;
    case WM_HOTKEY:
        onHotKey(hwnd, wParam);
        break;
    case WM_DROPFILES:
        openDroppedFile(hwnd, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        showMenuState(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_TIMER:
        if (wParam == recoveryTimer)
            Recovery.onTimer(hwnd);
        return 0;
    case WM_QUERYENDSESSION:
        // The session may end: the unsaved text is kept in its recovery copy, and nothing asked.
        Recovery.writeNow(hwnd);
        return TRUE;
    case WM_ENDSESSION:
        // The process may be ended any moment after this returns, without WM_DESTROY.
        if (wParam)
            Recovery.writeNow(hwnd);
        return 0;
    case WM_SETTEXT:
        return onSetText(hwnd, lParam);
    case WM_PAINT:
        paintBackground(hwnd, COLOR_WINDOW);
        return 0;
    case WM_CLOSE:
        // The save question decides; the window goes only when nothing would be lost.
        Editor.newDocument(hwnd, false);
        return 0;
    case WM_DESTROY:
        Recovery.release();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
