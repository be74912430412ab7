// The status bar: the common control, the caret's line and column, the parts laid out from the
// right, and the View menu's choice.
#include "app/status_bar.h"

#include "app/commands.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "encoding/text_format.h"
#include "format/status_bar_setting.h"
#include "ui/window_parts.h"

#include <array>
#include <cstdlib>
#include <string>

namespace {

constexpr int statusBarId = firstChildId;
constexpr int partCount = 4;
// The widths of the parts after the first, which takes the room that is left.
constexpr std::array<int, partCount> partWidths = {0, 140, 70, 175};
// How far the caret may be drawn from a character's place and still be on it.
constexpr long caretSlack = 2;

HWND statusBar = nullptr;
std::array<std::wstring, partCount> partTexts;

// Right edges from the right: the caret's place keeps its width, a later part only while it has
// text to show.
void setParts()
{
    RECT bar;
    GetClientRect(statusBar, &bar);
    std::array<int, partCount> rights;
    int right = int(bar.right);
    for (int part = partCount - 1; part >= 0; --part) {
        rights[std::size_t(part)] = part == partCount - 1 ? -1 : right;
        if (part == statusPartPosition || (part > 0 && !partTexts[std::size_t(part)].empty()))
            right -= partWidths[std::size_t(part)];
    }
    SendMessageW(statusBar, SB_SETPARTS, partCount, reinterpret_cast<LPARAM>(rights.data()));
}

void showPartText(int part)
{
    const std::wstring& text = partTexts[std::size_t(part)];
    const WPARAM type = text.empty() ? SBT_NOBORDERS : 0;
    SendMessageW(statusBar, SB_SETTEXTW, WPARAM(part) | type,
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void showBar(HWND mainWindow)
{
    ShowWindow(statusBar, Editor.statusBarShown ? SW_SHOW : SW_HIDE);
    CheckMenuItem(Editor.menuBar, commandStatusBar,
                  Editor.statusBarShown ? MF_CHECKED : MF_UNCHECKED);
    // The edit control gives the bar its room, or takes it back.
    SendMessageW(mainWindow, WM_SIZE, SIZE_RESTORED, 0);
    updateStatusBar();
}

// The bar is made when it is first shown: most sessions never show it, and making it took 3%
// of the start-up.
void makeBar(HWND mainWindow)
{
    if (statusBar)
        return;
    const INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // The control places itself along the bottom, whatever place and size it is given.
    statusBar = createChild(mainWindow, STATUSCLASSNAMEW, L"", WS_CHILD, {0, 0, 0, 0}, statusBarId);
    // Parts first: a text for a part the bar does not have yet is refused.
    setParts();
    for (int part = 0; part < partCount; ++part)
        showPartText(part);
}

} // namespace

void createStatusBar(HWND mainWindow)
{
    Editor.statusBarShown = readStatusBarSetting();
    if (Editor.statusBarShown)
        makeBar(mainWindow);
    showBar(mainWindow);
}

void toggleStatusBar(HWND mainWindow)
{
    Editor.statusBarShown = !Editor.statusBarShown;
    if (Editor.statusBarShown)
        makeBar(mainWindow);
    showBar(mainWindow);
    if (!writeStatusBarSetting(Editor.statusBarShown))
        MessageBoxW(mainWindow, L"Cannot open settings file.", L"Error", MB_ICONERROR);
}

int layOutStatusBar()
{
    if (!statusBar)
        return 0;
    SendMessageW(statusBar, WM_SIZE, 0, 0);
    setParts();
    RECT bar;
    return Editor.statusBarShown && GetWindowRect(statusBar, &bar) ? int(bar.bottom - bar.top) : 0;
}

void updateStatusBar()
{
    if (!Editor.statusBarShown)
        return;
    const HWND edit = Editor.editControl;
    const std::size_t caret = caretPosition(edit);
    const LRESULT line = SendMessageW(edit, EM_LINEFROMCHAR, WPARAM(caret), 0);
    const LRESULT start = SendMessageW(edit, EM_LINEINDEX, WPARAM(line), 0);
    std::wstring text = L"Ln " + std::to_wstring(line + 1) + L", Col " +
                        std::to_wstring(caret - std::size_t(start) + 1);
    // Redrawn only when the figures change: a drag with the mouse moves it often.
    if (text != partTexts[statusPartPosition]) {
        partTexts[statusPartPosition] = std::move(text);
        showPartText(statusPartPosition);
    }
}

void updateStatusFormat()
{
    const std::wstring lineEnds = nameOf(Document.format().lineEnd);
    const std::wstring encoding = nameOf(Document.format().encoding);
    if (lineEnds == partTexts[statusPartLineEnds] && encoding == partTexts[statusPartEncoding])
        return;
    partTexts[statusPartLineEnds] = lineEnds;
    partTexts[statusPartEncoding] = encoding;
    // Before the bar exists (the title is set while the main window is made) only the texts are
    // kept; the bar shows them once made.
    if (!statusBar)
        return;
    showPartText(statusPartLineEnds);
    showPartText(statusPartEncoding);
    setParts();
}

std::size_t caretPosition(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    POINT caret;
    if (start == end || GetFocus() != edit || !GetCaretPos(&caret))
        return end;
    // The caret is drawn at one end of the selection; at the start when the user selected
    // backwards.
    const LRESULT place = SendMessageW(edit, EM_POSFROMCHAR, WPARAM(start), 0);
    const long x = short(LOWORD(DWORD(place)));
    const long y = short(HIWORD(DWORD(place)));
    const bool atStart =
        place != -1 && std::labs(x - caret.x) <= caretSlack && std::labs(y - caret.y) <= caretSlack;
    return atStart ? start : end;
}
