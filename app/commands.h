// The main window's commands in one table: each row a command's id, menu, text, key and handler,
// from which the menus, the hot keys, the accelerator table and the dispatch are all built.
#pragma once

#include "encoding/text_format.h"
#include "platform/win32.h"

// The menu commands. The first eight keep the numbers they always had; every other id follows the
// one before it, so no two commands, and no command and child window, share one.
enum : WORD {
    commandNew = 1,
    commandOpen,
    commandSaveAs,
    commandAbout,
    commandExit,
    commandFont,
    commandSave,
    commandFind,
    commandUndo,
    commandCut,
    commandCopy,
    commandPaste,
    commandDelete,
    commandSelectAll,
    commandFindNext,
    commandFindPrevious,
    commandReplace,
    commandGoTo,
    commandStatusBar,
    commandRedo,
    commandEncoding,                                  // one per Encoding, in its order
    commandLineEnd = commandEncoding + encodingCount, // one per LineEnd, in its order
    // The main window's child windows take the ids after the commands.
    firstChildId = commandLineEnd + lineEndCount,
};

// The hot keys: the whole system's keys, so only the first design's six, registered while the
// main window is active.
enum : int {
    hotKeySave = 1000,
    hotKeySaveAs,
    hotKeyOpen,
    hotKeySelectAll,
    hotKeyNew,
    hotKeyFind,
};

// WM_CREATE: the menu bar with its menus, and the accelerator table.
void buildCommands(HWND window);
// WM_ACTIVATE: the hot keys exist only while the main window is the active window.
void registerHotKeys(HWND window);
void unregisterHotKeys(HWND window);
// WM_COMMAND from a menu, from an accelerator (only a command that has one), and WM_HOTKEY: runs
// the command.
void runCommand(HWND window, WORD id);
void runAccelerator(HWND window, WORD id);
void runHotKey(HWND window, WPARAM hotKeyId);
// WM_INITMENUPOPUP: the bullets by the document's encoding and line ends, and the Edit menu's
// items greyed where they have nothing to act on.
void showMenuState(HMENU popup);
// The same for a menu that holds the Edit menu's commands (the text's shortcut menu).
void showEditState(HMENU menu);

// A step of the message loop: true when the message was a key of the active window's dialog
// keyboard, or any message for that window, or one of the accelerator keys, which has then been
// dispatched or turned into its command and must not be dispatched again.
bool translateShortcut(MSG* message);
