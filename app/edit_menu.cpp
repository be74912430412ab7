// The text's shortcut menu: made once, its items greyed as the text and the record allow.
#include "app/edit_menu.h"

#include "app/commands.h"
#include "editor/document.h"
#include "editor/globals.h"

namespace {

HMENU makeMenu()
{
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, commandUndo, L"&Undo");
    AppendMenuW(menu, MF_STRING, commandRedo, L"Re&do");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, commandCut, L"Cu&t");
    AppendMenuW(menu, MF_STRING, commandCopy, L"&Copy");
    AppendMenuW(menu, MF_STRING, commandPaste, L"&Paste");
    AppendMenuW(menu, MF_STRING, commandDelete, L"&Delete");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, commandSelectAll, L"Select &all");
    return menu;
}

POINT caretPoint(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const LRESULT at = SendMessageW(edit, EM_POSFROMCHAR, end, 0);
    RECT window{};
    GetWindowRect(edit, &window);
    return {window.left + short(LOWORD(at)), window.top + short(HIWORD(at))};
}

} // namespace

void showEditMenu(HWND edit, LPARAM where)
{
    static const HMENU menu = makeMenu();
    showEditState(menu);
    const POINT at =
        where == -1 ? caretPoint(edit) : POINT{short(LOWORD(where)), short(HIWORD(where))};
    const UINT id = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                        at.y, 0, edit, nullptr));
    if (id != 0)
        runCommand(mainWindow, WORD(id));
}
