// The Format text window: its nine controls in reading order, each label before its list, the live
// preview and Apply.
#include "format/format_dialog.h"

#include "editor/editor.h"
#include "editor/globals.h"
#include "format/font_choice.h"
#include "ui/kept_focus.h"
#include "ui/window_parts.h"

FormatDialog::FormatDialog(int size, int weight, bool italic, const std::wstring& family)
    : pendingSize(size), pendingWeight(weight), pendingItalic(italic), pendingFamily(&family)
{
}

namespace {

constexpr int boldWeight = 800;

constexpr DWORD labelStyle = WS_CHILD | WS_VISIBLE | WS_GROUP;
constexpr DWORD stopStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD listStyle =
    stopStyle | WS_GROUP | WS_BORDER | WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_SORT | LBS_NOTIFY;
constexpr DWORD previewStyle = labelStyle | WS_BORDER | SS_CENTERIMAGE | SS_CENTER;
// Bold and Italic are one group: the arrows move between them.
constexpr DWORD checkBoxStyle = stopStyle | BS_AUTOCHECKBOX;

HFONT pendingFont()
{
    const struct FormatDialog& dialog = FormatDialog;
    return createFontFromChoice(dialog.pendingSize, dialog.pendingWeight, dialog.pendingItalic,
                                dialog.pendingFamily->c_str());
}

void updatePreview()
{
    const HFONT replaced = FormatDialog.previewFont;
    FormatDialog.previewFont = pendingFont();
    SendMessageW(FormatDialog.previewStatic, WM_SETFONT,
                 reinterpret_cast<WPARAM>(FormatDialog.previewFont), TRUE);
    // Every command makes a preview font; free the one the preview has just let go of.
    if (replaced)
        DeleteObject(replaced);
}

void addStrings(HWND list, const wchar_t* const* texts, int count)
{
    for (int i = 0; i < count; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i]));
}

void createFamilyList(HWND window, HINSTANCE instance)
{
    struct FormatDialog& dialog = FormatDialog;
    dialog.familyList = createChild(window, L"Listbox", nullptr, listStyle | WS_HSCROLL,
                                    {dialog.familyColumnX, 50, 120, 150}, familyListId, instance);
    const wchar_t* texts[] = {dialog.families[0].c_str(), dialog.families[1].c_str(),
                              dialog.families[2].c_str()};
    addStrings(GetDlgItem(window, familyListId), texts, 3);
    // A prefix match without regard to case: a family read as "arial" or "Courier" still shows.
    SendMessageW(GetDlgItem(window, familyListId), LB_SELECTSTRING, 0,
                 reinterpret_cast<LPARAM>(dialog.pendingFamily->c_str()));
}

int sizeIndex(int size)
{
    for (int i = 0; i < 10; ++i) {
        if (FormatDialog.sizes[i] == size)
            return i;
    }
    return -1;
}

void createSizeList(HWND window, HINSTANCE instance)
{
    struct FormatDialog& dialog = FormatDialog;
    dialog.sizeList = createChild(window, L"Listbox", nullptr, listStyle,
                                  {dialog.sizeColumnX, 50, 50, 150}, sizeListId, instance);
    const wchar_t* texts[10];
    for (int i = 0; i < 10; ++i)
        texts[i] = dialog.sizeTexts[i];
    addStrings(GetDlgItem(window, sizeListId), texts, 10);
    // The pending size, so the list shows what Apply will write; none when it is not listed.
    SendMessageW(GetDlgItem(window, sizeListId), LB_SETCURSEL,
                 WPARAM(sizeIndex(dialog.pendingSize)), 0);
}

// Enables the main window before this one goes, so the system never hands activation to some
// other program's window while ours is still disabled.
void closeWindow(HWND window)
{
    EnableWindow(mainWindow, TRUE);
    DestroyWindow(window);
    SetActiveWindow(mainWindow);
}

// The list's index of the user's selection, checked against the table it indexes.
int selectedIndex(HWND list, int tableSize)
{
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    return index >= 0 && index < tableSize ? int(index) : -1;
}

void onCommand(HWND hwnd, WPARAM wParam)
{
    if (LOWORD(wParam) == IDCANCEL) {
        closeWindow(hwnd);
        return;
    }
    struct FormatDialog& dialog = FormatDialog;
    dialog.pendingWeight = IsDlgButtonChecked(hwnd, boldId) ? boldWeight : 0;
    dialog.pendingItalic = IsDlgButtonChecked(hwnd, italicId) != 0;
    if (HIWORD(wParam) == LBN_SELCHANGE) {
        if (LOWORD(wParam) == familyListId) {
            const int index = selectedIndex(dialog.familyList, 3);
            if (index >= 0)
                dialog.pendingFamily = &dialog.families[index];
        } else if (LOWORD(wParam) == sizeListId) {
            const int index = selectedIndex(dialog.sizeList, 10);
            if (index >= 0)
                dialog.pendingSize = dialog.sizes[index];
        }
    }
    updatePreview();
    if (wParam == applyId) {
        SendMessageW(Editor.editControl, WM_SETFONT, reinterpret_cast<WPARAM>(pendingFont()), TRUE);
        dialog.saveSettings(hwnd);
        closeWindow(hwnd);
    }
}

} // namespace

void openFormatWindow(HWND owner)
{
    struct FormatDialog& dialog = FormatDialog;
    const HWND window = CreateWindowExW(
        0, formatWindowClassName, L"Format text", WS_VISIBLE | WS_SYSMENU, CW_USEDEFAULT,
        CW_USEDEFAULT, dialog.width, dialog.height, owner, nullptr, nullptr, nullptr);
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongW(window, GWL_HINSTANCE));
    createChild(window, L"Static", L"&Font", labelStyle, {dialog.familyColumnX, 20, 70, 25}, 0);
    createFamilyList(window, instance);
    createChild(window, L"Static", L"Font si&ze", labelStyle, {dialog.sizeColumnX, 20, 70, 25}, 0);
    createSizeList(window, instance);
    createChild(window, L"Static", L"Font st&yle", labelStyle, {dialog.styleColumnX, 20, 70, 25},
                0);
    createChild(window, L"Button", L"&Bold", checkBoxStyle | WS_GROUP,
                {dialog.styleColumnX, 50, 100, 30}, boldId);
    CheckDlgButton(window, boldId,
                   dialog.pendingWeight == boldWeight ? BST_CHECKED : BST_UNCHECKED);
    createChild(window, L"Button", L"&Italic", checkBoxStyle, {dialog.styleColumnX, 80, 100, 30},
                italicId);
    CheckDlgButton(window, italicId, dialog.pendingItalic ? BST_CHECKED : BST_UNCHECKED);
    const int previewWidth = int(dialog.width - dialog.previewX * 3.5);
    dialog.previewStatic = createChild(window, L"Static", L"Preview text", previewStyle,
                                       {dialog.previewX, dialog.previewY, previewWidth, 50}, 0);
    updatePreview();
    createChild(window, L"Button", L"&Apply", stopStyle | WS_GROUP | BS_DEFPUSHBUTTON,
                {130, 320, 100, 25}, applyId);
    EnableWindow(owner, FALSE);
    SetFocus(dialog.familyList);
}

LRESULT CALLBACK formatWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (keepFocusAcrossActivation(hwnd, wParam))
            return 0;
        break;
    case WM_PAINT:
        paintBackground(hwnd, COLOR_MENU);
        return 0;
    case WM_CLOSE:
        closeWindow(hwnd);
        break;
    case WM_COMMAND:
        onCommand(hwnd, wParam);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
