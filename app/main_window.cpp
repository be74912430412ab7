// The main window: its edit control, menus and hot keys, change tracking, the close question
// and the About box.
#include "app/main_window.h"

#include "app/dropped_files.h"
#include "app/edit_menu.h"
#include "app/shortcuts.h"
#include "app/status_bar.h"
#include "document/encoding_menus.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "format/format_dialog.h"
#include "recovery/recovery.h"
#include "search/find_dialog.h"
#include "ui/window_parts.h"

namespace {

struct HotKeyBinding {
    int id;
    UINT modifiers;
    UINT virtualKey;
    WORD command; // the menu command it stands for; Ctrl+A has none
};

constexpr WORD noCommand = 0;

constexpr HotKeyBinding hotKeyBindings[] = {
    {hotKeySave, MOD_CONTROL, 'S', commandSave},
    {hotKeySaveAs, MOD_CONTROL | MOD_SHIFT, 'S', commandSaveAs},
    {hotKeyOpen, MOD_CONTROL, 'O', commandOpen},
    {hotKeySelectAll, MOD_CONTROL, 'A', noCommand},
    {hotKeyNew, MOD_CONTROL, 'N', commandNew},
    {hotKeyFind, MOD_CONTROL, 'F', commandFind},
};

const wchar_t aboutText[] =
    L"Quenwrite is a simple, freeware text editor, written by the Quenwrite authors.\n\nPeriod.";

void registerHotKeys(HWND hwnd)
{
    // A combination that is already registered simply fails; that shortcut then does nothing.
    for (const HotKeyBinding& binding : hotKeyBindings)
        RegisterHotKey(hwnd, binding.id, binding.modifiers, binding.virtualKey);
    hotKeysRegistered = true;
}

void unregisterHotKeys(HWND hwnd)
{
    if (!hotKeysRegistered)
        return;
    for (const HotKeyBinding& binding : hotKeyBindings)
        UnregisterHotKey(hwnd, binding.id);
    hotKeysRegistered = false;
}

void appendItem(HMENU menu, UINT_PTR id, const wchar_t* text)
{
    AppendMenuW(menu, MF_STRING, id, text);
}

void buildMenus(HWND hwnd)
{
    AppendMenuW(Editor.menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(Editor.fileMenu), L"File");
    appendItem(Editor.fileMenu, commandNew, L"New \t Ctrl+N");
    appendItem(Editor.fileMenu, commandOpen, L"Open \t Ctrl+O");
    appendItem(Editor.fileMenu, commandSave, L"Save \t Ctrl+S");
    appendItem(Editor.fileMenu, commandSaveAs, L"Save as \t Ctrl+Shift+S");
    AppendMenuW(Editor.fileMenu, MF_SEPARATOR, 0, nullptr);
    appendItem(Editor.fileMenu, commandFind, L"Find \t Ctrl+F");
    AppendMenuW(Editor.fileMenu, MF_SEPARATOR, 0, nullptr);
    appendItem(Editor.fileMenu, commandExit, L"Exit");
    appendEditMenu(Editor.menuBar);
    AppendMenuW(Editor.menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(Editor.formatMenu), L"Format");
    appendItem(Editor.formatMenu, commandFont, L"Font");
    appendEncodingMenus(Editor.formatMenu);
    appendViewMenu(Editor.menuBar);
    AppendMenuW(Editor.menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(Editor.helpMenu), L"Help");
    appendItem(Editor.helpMenu, commandAbout, L"About Quenwrite");
    SetMenu(hwnd, Editor.menuBar);
}

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
    buildMenus(hwnd);
    // mainWindow is still null during WM_CREATE; use the handle we were given.
    Editor.updateTitle(hwnd);
    Editor.loadSettings();
    registerHotKeys(hwnd);
    DragAcceptFiles(hwnd, TRUE);
    createShortcuts();
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

void showAbout(HWND hwnd)
{
    MessageBeep(MB_ICONINFORMATION);
    MessageBoxW(hwnd, aboutText, L"About Quenwrite", MB_OK | MB_ICONINFORMATION);
}

void selectAll()
{
    SendMessageW(Editor.editControl, EM_SETSEL, 0, -1);
}

void runCommand(HWND hwnd, WPARAM command)
{
    switch (command) {
    case commandNew:
        Editor.newDocument(hwnd, true);
        break;
    case commandOpen:
        Editor.openFile(hwnd);
        break;
    case commandSaveAs:
        Editor.saveAs(hwnd);
        break;
    case commandAbout:
        showAbout(hwnd);
        break;
    case commandExit:
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        break;
    case commandFont:
        openFormatWindow(hwnd);
        break;
    case commandSave:
        Editor.save(hwnd);
        break;
    case commandFind:
        openFindWindow(hwnd);
        break;
    default:
        if (!runEditCommand(hwnd, command))
            runTextFormatCommand(hwnd, command);
        break;
    }
}

void onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    // Only a real change of the text marks the document unsaved; focus changes, scrolling and
    // refused input leave it as it was.
    if (lParam && reinterpret_cast<HWND>(lParam) == Editor.editControl) {
        if (HIWORD(wParam) == EN_CHANGE) {
            Document.change();
            Editor.updateTitle(hwnd);
            updateStatusBar();
            Recovery.documentChanged(hwnd);
        }
        return;
    }
    // An accelerator (high word 1, no control) is one of the Edit menu's keys.
    if (HIWORD(wParam) == 1 && lParam == 0) {
        runEditCommand(hwnd, LOWORD(wParam));
        return;
    }
    // The whole wParam: a control notification (high word not 0) never acts as a command.
    runCommand(hwnd, wParam);
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
    if (GetForegroundWindow() != hwnd)
        return;
    for (const HotKeyBinding& binding : hotKeyBindings) {
        if (WPARAM(binding.id) != id)
            continue;
        if (binding.command == noCommand)
            selectAll();
        else
            runCommand(hwnd, binding.command);
    }
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
        showTextFormat(reinterpret_cast<HMENU>(wParam));
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
