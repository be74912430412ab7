// The Edit and View menus. Undo, Cut, Copy, Paste, Delete and Select all are the edit control's
// own, sent to it as messages; their keys are the control's too, so the texts only name them.
#include "app/edit_menu.h"

#include "app/status_bar.h"
#include "editor/editor.h"
#include "search/find_next.h"
#include "search/goto_dialog.h"
#include "search/replace_dialog.h"

namespace {

struct EditItem {
    WORD command;
    const wchar_t* text;
};

constexpr WORD separator = 0;

constexpr EditItem editItems[] = {
    {commandUndo, L"Undo \t Ctrl+Z"},
    {separator, nullptr},
    {commandCut, L"Cut \t Ctrl+X"},
    {commandCopy, L"Copy \t Ctrl+C"},
    {commandPaste, L"Paste \t Ctrl+V"},
    {commandDelete, L"Delete \t Del"},
    {separator, nullptr},
    {commandFindNext, L"Find next \t F3"},
    {commandFindPrevious, L"Find previous \t Shift+F3"},
    {commandReplace, L"Replace \t Ctrl+H"},
    {commandGoTo, L"Go to line \t Ctrl+G"},
    {separator, nullptr},
    {commandSelectAll, L"Select all \t Ctrl+A"},
};

// The commands that are the edit control's own: a message to it.
struct EditMessage {
    WORD command;
    UINT message;
    LPARAM lParam;
};

constexpr EditMessage editMessages[] = {
    {commandUndo, WM_UNDO, 0},   {commandCut, WM_CUT, 0},      {commandCopy, WM_COPY, 0},
    {commandPaste, WM_PASTE, 0}, {commandDelete, WM_CLEAR, 0}, {commandSelectAll, EM_SETSEL, -1},
};

void appendPopup(HMENU menuBar, const wchar_t* title, const EditItem* items, std::size_t count)
{
    const HMENU popup = CreateMenu();
    for (std::size_t i = 0; i < count; ++i) {
        if (items[i].command == separator)
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(popup, MF_STRING, items[i].command, items[i].text);
    }
    AppendMenuW(menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
}

} // namespace

void appendEditMenu(HMENU menuBar)
{
    appendPopup(menuBar, L"Edit", editItems, std::size(editItems));
}

void appendViewMenu(HMENU menuBar)
{
    const EditItem statusBarItem = {commandStatusBar, L"Status bar"};
    appendPopup(menuBar, L"View", &statusBarItem, 1);
}

bool runEditCommand(HWND hwnd, WPARAM command)
{
    for (const EditMessage& sent : editMessages) {
        if (sent.command == command) {
            SendMessageW(Editor.editControl, sent.message, 0, sent.lParam);
            return true;
        }
    }
    switch (command) {
    case commandFindNext:
    case commandFindPrevious:
        findAgain(hwnd, command == commandFindNext ? SearchDirection::forward
                                                   : SearchDirection::backward);
        return true;
    case commandReplace:
        openReplaceWindow(hwnd);
        return true;
    case commandGoTo:
        openGoToWindow(hwnd);
        return true;
    case commandStatusBar:
        toggleStatusBar(hwnd);
        return true;
    default:
        return false;
    }
}
