// The command table and what is built from it. Keys are of three kinds: hot keys (the first
// design's six), accelerators (keys added later: a hot key is the whole system's, so F3 and
// Ctrl+H would stop working in every other program while this one runs, and would do nothing in
// the Find window), and the edit control's own keys, which the menu only names.
#include "app/commands.h"

#include "app/status_bar.h"
#include "app/undo.h"
#include "document/text_format_choice.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "format/format_dialog.h"
#include "search/find_dialog.h"
#include "search/find_next.h"
#include "search/goto_dialog.h"
#include "search/replace_dialog.h"

#include <span>
#include <string>
#include <vector>

namespace {

enum class Menu { file, edit, format, encoding, lineEnds, view, help };

struct Key {
    enum Kind { none, hotKey, accelerator, control };
    Kind kind = none;
    bool ctrl = false;
    bool shift = false;
    WORD virtualKey = 0;
    int hotKeyId = 0;
};

constexpr Key hotKey(int id, bool ctrl, bool shift, WORD virtualKey)
{
    return {Key::hotKey, ctrl, shift, virtualKey, id};
}

constexpr Key accelerator(bool ctrl, bool shift, WORD virtualKey)
{
    return {Key::accelerator, ctrl, shift, virtualKey, 0};
}

constexpr Key controlKey(bool ctrl, WORD virtualKey)
{
    return {Key::control, ctrl, false, virtualKey, 0};
}

struct Command {
    WORD id; // 0: a separator
    Menu menu;
    const wchar_t* text;
    Key key;
    void (*run)(HWND window, WORD id);
    Key secondKey = {}; // an accelerator that does the same, not named in the menu
};

struct Popup {
    Menu menu;
    const wchar_t* title;
    HMENU Editor::*handle;
    HMENU Editor::*parent;
};

// In the order they are built: a submenu follows its parent's own items.
constexpr Popup popups[] = {
    {Menu::file, L"&File", &Editor::fileMenu, &Editor::menuBar},
    {Menu::edit, L"&Edit", &Editor::editMenu, &Editor::menuBar},
    {Menu::format, L"F&ormat", &Editor::formatMenu, &Editor::menuBar},
    {Menu::encoding, L"&Encoding", &Editor::encodingMenu, &Editor::formatMenu},
    {Menu::lineEnds, L"&Line ends", &Editor::lineEndMenu, &Editor::formatMenu},
    {Menu::view, L"&View", &Editor::viewMenu, &Editor::menuBar},
    {Menu::help, L"&Help", &Editor::helpMenu, &Editor::menuBar},
};

const wchar_t aboutText[] =
    L"Quenwrite is a simple, freeware text editor, written by the Quenwrite authors.\n\nPeriod.";

// The edit control's own commands are messages to it.
template <UINT message, LPARAM lParam = 0> void toEditControl(HWND, WORD)
{
    SendMessageW(Editor.editControl, message, 0, lParam);
}

void showAbout(HWND window, WORD)
{
    MessageBeep(MB_ICONINFORMATION);
    MessageBoxW(window, aboutText, L"About Quenwrite", MB_OK | MB_ICONINFORMATION);
}

void runEncoding(HWND window, WORD id)
{
    chooseEncoding(window, Encoding(id - commandEncoding));
}

void runLineEnd(HWND window, WORD id)
{
    chooseLineEnd(window, LineEnd(id - commandLineEnd));
}

std::span<const Command> commands()
{
    static const Command table[] = {
        {commandNew, Menu::file, L"&New", hotKey(hotKeyNew, true, false, 'N'),
         [](HWND w, WORD) { Editor.newDocument(w, true); }},
        {commandOpen, Menu::file, L"&Open", hotKey(hotKeyOpen, true, false, 'O'),
         [](HWND w, WORD) { Editor.openFile(w); }},
        {commandSave, Menu::file, L"&Save", hotKey(hotKeySave, true, false, 'S'),
         [](HWND w, WORD) { Editor.save(w); }},
        {commandSaveAs, Menu::file, L"Save &as", hotKey(hotKeySaveAs, true, true, 'S'),
         [](HWND w, WORD) { Editor.saveAs(w); }},
        {0, Menu::file, nullptr, {}, nullptr},
        {commandFind, Menu::file, L"&Find", hotKey(hotKeyFind, true, false, 'F'),
         [](HWND w, WORD) { openFindWindow(w); }},
        {0, Menu::file, nullptr, {}, nullptr},
        {commandExit,
         Menu::file,
         L"E&xit",
         {},
         [](HWND w, WORD) { PostMessageW(w, WM_CLOSE, 0, 0); }},

        {commandUndo, Menu::edit, L"&Undo", accelerator(true, false, 'Z'),
         [](HWND w, WORD) { undoEdit(w); }},
        {commandRedo, Menu::edit, L"Re&do", accelerator(true, false, 'Y'),
         [](HWND w, WORD) { redoEdit(w); }, accelerator(true, true, 'Z')},
        {0, Menu::edit, nullptr, {}, nullptr},
        {commandCut, Menu::edit, L"Cu&t", controlKey(true, 'X'), toEditControl<WM_CUT>},
        {commandCopy, Menu::edit, L"&Copy", controlKey(true, 'C'), toEditControl<WM_COPY>},
        {commandPaste, Menu::edit, L"&Paste", controlKey(true, 'V'), toEditControl<WM_PASTE>},
        {commandDelete, Menu::edit, L"De&lete", controlKey(false, VK_DELETE),
         toEditControl<WM_CLEAR>},
        {0, Menu::edit, nullptr, {}, nullptr},
        {commandFindNext, Menu::edit, L"Find &next", accelerator(false, false, VK_F3),
         [](HWND w, WORD) { findAgain(w, SearchDirection::forward); }},
        {commandFindPrevious, Menu::edit, L"Find pre&vious", accelerator(false, true, VK_F3),
         [](HWND w, WORD) { findAgain(w, SearchDirection::backward); }},
        {commandReplace, Menu::edit, L"&Replace", accelerator(true, false, 'H'),
         [](HWND w, WORD) { openReplaceWindow(w); }},
        {commandGoTo, Menu::edit, L"&Go to line", accelerator(true, false, 'G'),
         [](HWND w, WORD) { openGoToWindow(w); }},
        {0, Menu::edit, nullptr, {}, nullptr},
        {commandSelectAll, Menu::edit, L"Select &all", hotKey(hotKeySelectAll, true, false, 'A'),
         toEditControl<EM_SETSEL, -1>},

        {commandFont, Menu::format, L"&Font", {}, [](HWND w, WORD) { openFormatWindow(w); }},
        {commandEncoding + int(Encoding::eightBit),
         Menu::encoding,
         nameOf(Encoding::eightBit),
         {},
         runEncoding},
        {commandEncoding + int(Encoding::utf8),
         Menu::encoding,
         nameOf(Encoding::utf8),
         {},
         runEncoding},
        {commandEncoding + int(Encoding::utf8WithMark),
         Menu::encoding,
         nameOf(Encoding::utf8WithMark),
         {},
         runEncoding},
        {commandEncoding + int(Encoding::utf16Le),
         Menu::encoding,
         nameOf(Encoding::utf16Le),
         {},
         runEncoding},
        {commandEncoding + int(Encoding::utf16Be),
         Menu::encoding,
         nameOf(Encoding::utf16Be),
         {},
         runEncoding},
        {commandEncoding + int(Encoding::utf16LeWithoutMark),
         Menu::encoding,
         nameOf(Encoding::utf16LeWithoutMark),
         {},
         runEncoding},
        {commandEncoding + int(Encoding::utf16BeWithoutMark),
         Menu::encoding,
         nameOf(Encoding::utf16BeWithoutMark),
         {},
         runEncoding},
        {commandLineEnd + int(LineEnd::crLf),
         Menu::lineEnds,
         nameOf(LineEnd::crLf),
         {},
         runLineEnd},
        {commandLineEnd + int(LineEnd::lf), Menu::lineEnds, nameOf(LineEnd::lf), {}, runLineEnd},
        {commandLineEnd + int(LineEnd::cr), Menu::lineEnds, nameOf(LineEnd::cr), {}, runLineEnd},
        {commandLineEnd + int(LineEnd::asInFile),
         Menu::lineEnds,
         nameOf(LineEnd::asInFile),
         {},
         runLineEnd},

        {commandStatusBar,
         Menu::view,
         L"&Status bar",
         {},
         [](HWND w, WORD) { toggleStatusBar(w); }},

        {commandAbout, Menu::help, L"&About Quenwrite", {}, showAbout},
    };
    return table;
}

// "Ctrl+Shift+S", "F3", "Del": as the menu names a key.
std::wstring nameOf(const Key& key)
{
    std::wstring name = key.ctrl ? L"Ctrl+" : L"";
    if (key.shift)
        name += L"Shift+";
    if (key.virtualKey == VK_DELETE)
        name += L"Del";
    else if (key.virtualKey >= VK_F1 && key.virtualKey <= VK_F12)
        name += L"F" + std::to_wstring(key.virtualKey - VK_F1 + 1);
    else
        name += wchar_t(key.virtualKey);
    return name;
}

void buildMenu(const Popup& popup)
{
    const HMENU menu = Editor.*popup.handle;
    AppendMenuW(Editor.*popup.parent, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), popup.title);
    for (const Command& command : commands()) {
        if (command.menu != popup.menu)
            continue;
        if (command.id == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring text = command.text;
        if (command.key.kind != Key::none)
            text += L" \t " + nameOf(command.key);
        AppendMenuW(menu, MF_STRING, command.id, text.c_str());
    }
}

HACCEL shortcuts = nullptr;
// The function keys among them (F3 and Shift+F3): no control of the other windows has a use for
// them, so they search on from the Find, Replace and Go to line windows too.
HACCEL functionKeys = nullptr;

bool isFunctionKey(const Key& key)
{
    return key.virtualKey >= VK_F1 && key.virtualKey <= VK_F12;
}

HACCEL createTable(bool onlyFunctionKeys)
{
    std::vector<ACCEL> keys;
    for (const Command& command : commands()) {
        for (const Key& key : {command.key, command.secondKey}) {
            if (key.kind != Key::accelerator || (onlyFunctionKeys && !isFunctionKey(key)))
                continue;
            const BYTE flags = FVIRTKEY | (key.ctrl ? FCONTROL : 0) | (key.shift ? FSHIFT : 0);
            keys.push_back({flags, key.virtualKey, command.id});
        }
    }
    return CreateAcceleratorTableW(keys.data(), int(keys.size()));
}

void createShortcuts()
{
    // Without the tables the menu still offers every command.
    shortcuts = createTable(false);
    functionKeys = createTable(true);
}

} // namespace

void buildCommands(HWND window)
{
    for (const Popup& popup : popups)
        buildMenu(popup);
    SetMenu(window, Editor.menuBar);
    createShortcuts();
}

void registerHotKeys(HWND window)
{
    // A combination that is already registered simply fails; that shortcut then does nothing.
    for (const Command& command : commands()) {
        if (command.key.kind == Key::hotKey)
            RegisterHotKey(window, command.key.hotKeyId,
                           (command.key.ctrl ? MOD_CONTROL : 0) |
                               (command.key.shift ? MOD_SHIFT : 0),
                           command.key.virtualKey);
    }
    hotKeysRegistered = true;
}

void unregisterHotKeys(HWND window)
{
    if (!hotKeysRegistered)
        return;
    for (const Command& command : commands()) {
        if (command.key.kind == Key::hotKey)
            UnregisterHotKey(window, command.key.hotKeyId);
    }
    hotKeysRegistered = false;
}

void runCommand(HWND window, WORD id)
{
    for (const Command& command : commands()) {
        if (command.id == id && command.run) {
            command.run(window, id);
            return;
        }
    }
}

void runAccelerator(HWND window, WORD id)
{
    for (const Command& command : commands()) {
        if (command.id == id && command.key.kind == Key::accelerator) {
            command.run(window, id);
            return;
        }
    }
}

void runHotKey(HWND window, WPARAM hotKeyId)
{
    for (const Command& command : commands()) {
        if (command.key.kind == Key::hotKey && WPARAM(command.key.hotKeyId) == hotKeyId) {
            command.run(window, command.id);
            return;
        }
    }
}

void showEditState(HMENU menu)
{
    const auto grey = [menu](WORD id, bool enabled) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    };
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(Editor.editControl, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    grey(commandUndo, Document.edits().canUndo());
    grey(commandRedo, Document.edits().canRedo());
    for (const WORD id : {commandCut, commandCopy, commandDelete})
        grey(id, start != end);
}

void showMenuState(HMENU popup)
{
    if (popup == Editor.editMenu)
        showEditState(popup);
    const TextFormat format = Document.format();
    if (popup == Editor.encodingMenu)
        CheckMenuRadioItem(popup, commandEncoding, commandEncoding + encodingCount - 1,
                           commandEncoding + UINT(format.encoding), MF_BYCOMMAND);
    else if (popup == Editor.lineEndMenu)
        CheckMenuRadioItem(popup, commandLineEnd, commandLineEnd + lineEndCount - 1,
                           commandLineEnd + UINT(format.lineEnd), MF_BYCOMMAND);
}

namespace {

// While the Format text window has the main window disabled, its commands are out of reach, the
// keys as much as the menu.
bool translateWith(HACCEL table, MSG* message)
{
    return table && IsWindowEnabled(mainWindow) &&
           TranslateAcceleratorW(mainWindow, table, message) != 0;
}

} // namespace

bool translateShortcut(MSG* message)
{
    // The Find, Replace, Go to line and Format text windows have the dialog keyboard (Tab, the
    // underlined letters, Enter, Esc), which takes all their keys but the function keys before
    // the shortcuts see them: Ctrl+V in a box pastes there. Never the main window: its text keeps
    // Tab and Enter.
    const HWND active = GetActiveWindow();
    if (active && active != mainWindow)
        return translateWith(functionKeys, message) || IsDialogMessageW(active, message);
    return translateWith(shortcuts, message);
}
