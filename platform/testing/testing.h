// The test seam of the Linux layer: scripted answers for boxes and dialogs, records of what was
// shown, and the user's hands (typing, clicks, menu choices). Nothing here changes behaviour until
// a test starts the application through it.
#pragma once

#include "platform/qt/hooks_p.h"
#include "platform/win32.h"

#include <functional>
#include <string>
#include <vector>

namespace platform::testing {

// Makes the application object; boxes and dialogs then take scripted answers instead of showing.
void startApplication(int& argc, char** argv);

// Dispatches posted messages and pending Qt events until nothing is left to do, each message
// offered first to the translation given here, as the program's own loop offers it.
void processEvents();
// Processes events as they come, timers' too, until the condition holds; false when it still does
// not after the milliseconds given. What a test waits for is a state, never a length of time.
bool waitFor(const std::function<bool()>& condition, int milliseconds = 10000);
void translateMessagesWith(bool (*translate)(MSG* message));
bool quitPosted();
int quitCode();

// Message boxes: queued answers, consumed in order. An unscripted box is recorded and answered
// with its first button (IDOK, IDYES, ...) so a test never hangs; unscriptedBoxes() counts those.
struct ShownBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};
void answerMessageBox(int result);
const std::vector<ShownBox>& shownBoxes();
int unscriptedBoxes();
int unusedAnswers();
const std::vector<UINT>& beeps();

// Shortcut menus: the next one answers with the command queued (0 dismisses it); an unqueued
// one is dismissed. The items of the last one shown are kept.
void choosePopupItem(UINT id);
const std::vector<ShownMenuItem>& lastPopup();

// Fonts and windows.
struct FontInfo {
    int height;
    int weight;
    bool italic;
    std::wstring face;
};
FontInfo fontInfo(HFONT font);
HFONT fontOf(HWND hwnd);
std::wstring qtFamilyOf(HWND hwnd); // the face Qt actually draws the control with
std::vector<HWND> windowsOfClass(const wchar_t* className);
std::wstring windowTitle(HWND hwnd); // what the Qt window shows as its title
bool isVisible(HWND hwnd);
bool hasIcon(HWND hwnd);    // the window shows an icon of its own
int visibleScreenWindows(); // top-level windows on the screen, boxes and menus included

// Menus: the texts of a menu bar (popups with their items, separators as empty strings) and
// their check marks as shown, a bullet for a radio item.
struct MenuEntry {
    std::wstring text;
    UINT id;
    std::vector<MenuEntry> items;
    bool checked = false;
    bool radio = false;
};
std::vector<MenuEntry> menuBarOf(HWND hwnd);
void chooseMenuItem(HWND hwnd, UINT id); // as a click on the item would
// Opens the drop-down of that title as shown (without its access key's mark), on the bar or inside
// another, as the user does (its owner gets WM_INITMENUPOPUP first), and returns its entries as
// they are shown.
std::vector<MenuEntry> openMenu(HWND hwnd, const std::wstring& title);

// The user's hands: real Qt input events to the widget behind a handle; typing with a null handle
// goes where the keyboard focus is. A key that the layer holds for the program's loop is taken by
// the loop (with the translation given above) before the next key comes.
void typeText(HWND hwnd, const std::wstring& text);
void pressKey(HWND hwnd, int virtualKey, UINT modifiers = 0); // MOD_CONTROL, MOD_SHIFT, MOD_ALT
void click(HWND hwnd);
void clickCloseBox(HWND hwnd);
void activate(HWND hwnd); // as the user switching to that window would
void deactivateAll();     // as the user switching to another program would
void scrollBy(HWND hwnd, int lines);
struct Selection {
    int start;
    int end;
};
Selection selection(HWND edit);
int firstVisibleLine(HWND edit);
int visibleLineCount(HWND edit);

} // namespace platform::testing

// Files: the Open and Save as dialogs and the KERNEL32 file calls.
namespace platform::testing {

// File dialogs: queued answers, consumed in order by GetOpenFileNameW and GetSaveFileNameW. A
// path answer takes the real path: it is made absolute against the current folder, checked
// against the buffer size, and its folder becomes current. An unscripted dialog is recorded and
// cancelled, so a test never hangs; unscriptedFileDialogs() counts those.
void answerFileDialog(const std::wstring& path);
void cancelFileDialog();
const std::vector<ShownFileDialog>& shownFileDialogs();
int unscriptedFileDialogs();
int unusedFileDialogAnswers();

// The next file dialog is shown for real, as the program shows it, and answered by typing the
// name into it and pressing Enter (an empty name cancels it). What it listed is kept: the file
// types as the dialog names them, the one it started on, and the names it listed in its folder
// under each type, sorted.
struct ListedFileDialog {
    std::vector<std::wstring> fileTypes;
    int startType = -1;
    std::vector<std::vector<std::wstring>> names;
};
void showFileDialog(const std::wstring& typed);
const ListedFileDialog& listedFileDialog();

// Fault injection: the n-th call of a kind from now on (1 is the next one) fails with the Win32
// error and does nothing else (a failing close still releases the file), but for ReplaceFileW's
// ERROR_UNABLE_TO_MOVE_REPLACEMENT and ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, which leave the files
// as Windows leaves them after those failures. fileCalls counts the
// calls of a kind made so far, so a test can loop n over every call of an operation.
void failFileCall(FileCall kind, int n, DWORD error);
int fileCalls(FileCall kind);

} // namespace platform::testing

// Dropping files: the user drags files from a file manager and lets go over the window (over a
// control: the drop goes to the nearest window that accepts files). True when the window took
// them, as a copy.
namespace platform::testing {

bool dropFiles(HWND hwnd, const std::vector<std::wstring>& paths);

} // namespace platform::testing

// Controls: what a control shows on the screen.
namespace platform::testing {

// The control as it paints now, asking its parent for colours as a real paint does. Pixels are
// 0xRRGGBB, row after row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
};
Picture pictureOf(HWND hwnd);

} // namespace platform::testing

// List boxes: the user's click on an item, scrolled into view first as the user would.
namespace platform::testing {

void clickListItem(HWND list, int index);
int topIndex(HWND list); // the first item the list shows

} // namespace platform::testing

// The multi-line edit control: the mouse on a character, its context menu, the clipboard.
namespace platform::testing {

// A click just inside the character at position (past a line's end: on its end); with MOD_SHIFT
// it extends the selection, twice makes it a double click.
void clickCharacter(HWND edit, int position, UINT modifiers = 0, bool twice = false);
struct MenuItem {
    std::wstring text; // without the & of the underlined letter
    bool enabled;
};
std::vector<MenuItem> contextMenuOf(HWND edit);
void chooseContextMenuItem(HWND edit, const std::wstring& text); // as a click on it would
void setClipboardText(const std::wstring& text);
std::wstring clipboardText();
int horizontalScroll(HWND edit); // pixels the text is scrolled to the left

} // namespace platform::testing

// Benchmarks: painting on demand and the naive baseline, a plain Qt text widget given the whole
// text at once, driven through the same steps as the edit control.
namespace platform::testing {

void paintNow(HWND hwnd); // paints the window and its children now, as the screen would get it

namespace baseline {
void startUp();                      // a plain main window, shown and painted once
bool open(const std::wstring& path); // the file's bytes as Latin-1, set whole, painted
bool save(const std::wstring& path);
bool findMiss(const std::wstring& needle); // true when the needle was (correctly) not found
void placeCaret(double where); // 0 the start, 0.5 the middle, 1 the end, scrolled into view
void type(wchar_t c);          // one key press, painted
void enter();                  // Enter, painted
void backspace();              // Backspace, painted
void paste();                  // Ctrl+V, painted
void undo();                   // Ctrl+Z, painted
void scrollPage();             // a page down with the wheel, painted
} // namespace baseline

} // namespace platform::testing
