// Where the test seam may step in: a few hook pointers and the records they pass. Each hook
// stays null in the program, which then behaves exactly as without them; platform/testing/
// fills them in the test and benchmark binaries only.
#pragma once

#include "platform/win32.h"

#include <optional>
#include <string>
#include <vector>

class QAccessibleEvent;

namespace platform::testing {

// What a file dialog was asked to show.
struct ShownFileDialog {
    bool save;
    HWND owner;
    DWORD structSize;
    DWORD flags;
    std::wstring filter; // the pairs with their zero separators, up to the closing zero
    DWORD filterIndex;
    DWORD bufferSize;
};

// A shortcut menu's item as TrackPopupMenu was asked to show it.
struct ShownMenuItem {
    UINT id;
    std::wstring text;
    bool enabled;
};

// The KERNEL32 file calls a fault can be injected into: open is CreateFileW, rename is
// MoveFileExW and ReplaceFileW, remove is DeleteFileW.
enum class FileCall { open, read, write, flush, close, rename, remove };

} // namespace platform::testing

namespace platform {

// The Win32 error that the coming call of this kind fails with, or ERROR_SUCCESS to let it act.
using FileCallHook = DWORD (*)(testing::FileCall kind);
extern FileCallHook fileCallHook;

// The answer to a file dialog: the chosen path, or nothing for cancel.
using FileDialogHook = std::optional<std::wstring> (*)(const testing::ShownFileDialog& dialog);
extern FileDialogHook fileDialogHook;

// The answer to a message box instead of showing it; nothing means its first button.
using MessageBoxHook = std::optional<int> (*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
extern MessageBoxHook messageBoxHook;

// The command chosen from a shortcut menu instead of showing it; 0 dismisses it.
using PopupMenuHook = UINT (*)(const std::vector<testing::ShownMenuItem>& items);
extern PopupMenuHook popupMenuHook;

// Takes a beep instead of sounding it.
using BeepHook = void (*)(UINT type);
extern BeepHook beepHook;

// Takes what a screen reader would be told, where the platform has none (offscreen).
using ScreenReaderHook = void (*)(QAccessibleEvent* event);
extern ScreenReaderHook screenReaderHook;

} // namespace platform
