// The main edit control's subclass. Esc stays in the text: a multi-line edit control asks its
// parent to close on Esc, and a user who presses it out of habit (after a menu, after Find) must
// not see the window go. Every message that may change the text is watched, so that the
// document's record has each change; the undo keys, the word erasers and the shortcut menu are
// the editor's own. The control reports changes of its text but no move of its caret, so the
// status bar looks again after each message that may have moved it.
#include "app/edit_subclass.h"

#include "app/edit_changes.h"
#include "app/edit_keys.h"
#include "app/edit_menu.h"
#include "app/status_bar.h"
#include "app/undo.h"
#include "editor/document.h"
#include "editor/globals.h"
#include "ui/memory_guard.h"

#include <algorithm>

namespace {

WNDPROC originalProc = nullptr;

bool isEscape(UINT message, WPARAM wParam)
{
    return (message == WM_KEYDOWN && wParam == VK_ESCAPE) ||
           (message == WM_CHAR && wParam == VK_ESCAPE);
}

bool movesCaret(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_SETTEXT:
    case EM_SETSEL:
    case EM_REPLACESEL:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_IME_CHAR:
        return true;
    default:
        return false;
    }
}

// What the editor answers instead of the control: its record's undo, and its own menu.
std::optional<LRESULT> ownAnswer(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_UNDO:
    case EM_UNDO:
        return undoEdit(mainWindow) ? TRUE : FALSE;
    case EM_CANUNDO:
        return Document.edits().canUndo() ? TRUE : FALSE;
    case WM_CONTEXTMENU:
        showEditMenu(hwnd, lParam);
        return 0;
    default:
        return ownKey(hwnd, message, wParam);
    }
}

// A text set whole while the document counts as saved (a new one, or one an Open is about to
// settle) is where undoing all the steps to come leads back to the saved text.
// The record may hold 256 MB, or a quarter of the memory that is free, whichever is less, as the
// text set whole leaves it.
std::size_t recordLimit()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return EditRecord::defaultLimit;
    const ULONGLONG free = std::min(status.ullAvailPhys, status.ullAvailVirtual);
    return std::size_t(std::min<ULONGLONG>(EditRecord::defaultLimit, free / 4));
}

void startRecordAfresh()
{
    Document.edits().clear();
    Document.edits().setLimit(recordLimit());
    if (Document.saved())
        Document.edits().markSaved();
}

LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (isEscape(message, wParam))
        return 0;
    if (const std::optional<LRESULT> own = ownAnswer(hwnd, message, wParam, lParam)) {
        updateStatusBar();
        return *own;
    }
    const std::size_t noted = Document.edits().noted();
    const LRESULT result = watchedMessage(hwnd, originalProc, message, wParam, lParam);
    // A set text, or one handed over with nothing to undo, starts the record afresh.
    if (message == WM_SETTEXT || (message == EM_REPLACESEL && !wParam) ||
        message == EM_EMPTYUNDOBUFFER)
        startRecordAfresh();
    else if (movesCaret(message) && Document.edits().noted() == noted)
        Document.edits().endStep();
    if (movesCaret(message))
        updateStatusBar();
    return result;
}

} // namespace

void subclassEditControl(HWND edit)
{
    originalProc = reinterpret_cast<WNDPROC>(GetWindowLongW(edit, GWL_WNDPROC));
    SetWindowLongW(edit, GWL_WNDPROC, reinterpret_cast<LONG>(guardedProc<editProc>));
}
