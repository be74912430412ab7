// The dialog keyboard for any window the program's loop hands to IsDialogMessageW: Tab and
// Shift+Tab among the WS_TABSTOP controls in creation order, arrows within a WS_GROUP, Alt with a
// letter (or the letter alone in a control that takes no characters) for the control whose text,
// or the label before it, marks that letter with '&', Enter for the default button, Esc for
// IDCANCEL. Each control says with WM_GETDLGCODE which of those keys it keeps for itself.
#include "platform/qt/windows/window_p.h"

#include <QWidget>

#include <cwctype>

namespace platform {

namespace {

bool within(HWND hwnd, HWND dialog)
{
    for (; live(hwnd); hwnd = hwnd->parent) {
        if (hwnd == dialog)
            return true;
    }
    return false;
}

bool canTakeFocus(HWND control)
{
    return control->visible && control->enabled;
}

// The dialog's child that holds control (itself, or its parent for a control's own children).
HWND childOf(HWND dialog, HWND control)
{
    while (live(control) && control->parent != dialog)
        control = control->parent;
    return live(control);
}

LRESULT codeOf(HWND control, const MSG* message = nullptr)
{
    return SendMessageW(control, WM_GETDLGCODE, message ? message->wParam : 0,
                        reinterpret_cast<LPARAM>(message));
}

// The control after (or before) position, round the list, that passes the test; the one at
// position itself when no other does.
template <typename Test>
HWND step(const std::vector<HWND>& controls, std::size_t position, bool previous, Test test)
{
    const std::size_t count = controls.size();
    for (std::size_t i = 1; i <= count; ++i) {
        const std::size_t at = previous ? (position + count - i) % count : (position + i) % count;
        if (live(controls[at]) && test(controls[at]))
            return controls[at];
    }
    return nullptr;
}

std::size_t positionOf(const std::vector<HWND>& controls, HWND control, bool previous)
{
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == control)
            return i;
    }
    // No control yet: the search starts past the end, so the first (or last) one comes first.
    return previous ? 0 : controls.size() - 1;
}

void giveFocus(HWND control)
{
    if (!control)
        return;
    SetFocus(control);
    // An edit reached from the keyboard has its whole text selected, ready to be typed over.
    if (codeOf(control) & DLGC_HASSETSEL)
        SendMessageW(control, EM_SETSEL, 0, -1);
}

void sendCommand(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(WORD(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Enter: the focused push button, else the one DM_GETDEFID names, else IDOK.
void pressDefault(HWND dialog, HWND focus, LRESULT code)
{
    int id = IDOK;
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        id = focus->id;
    } else if (const LRESULT answer = SendMessageW(dialog, DM_GETDEFID, 0, 0);
               HIWORD(DWORD(answer)) == DC_HASDEFID) {
        id = LOWORD(DWORD(answer));
    }
    const HWND button = GetDlgItem(dialog, id);
    if (button && !button->enabled) {
        MessageBeep(MB_OK);
        return;
    }
    sendCommand(dialog, id);
}

// The letter that '&' marks in the text, upper case; 0 for none ("&&" is an ampersand).
wchar_t mnemonicOf(const std::wstring& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&')
            return wchar_t(std::towupper(wint_t(text[i + 1])));
        ++i;
    }
    return 0;
}

void pressMnemonic(HWND dialog, HWND control)
{
    const LRESULT code = codeOf(control);
    if (code & DLGC_STATIC) {
        // A label's letter reaches the control after it.
        const std::vector<HWND>& controls = dialog->children;
        const std::size_t at = positionOf(controls, control, false);
        for (std::size_t i = at + 1; i < controls.size(); ++i) {
            if (live(controls[i]) && (controls[i]->style & WS_TABSTOP) &&
                canTakeFocus(controls[i])) {
                giveFocus(controls[i]);
                return;
            }
        }
        return;
    }
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        SendMessageW(control, BM_CLICK, 0, 0);
        return;
    }
    giveFocus(control);
    if (code & DLGC_BUTTON)
        SendMessageW(control, BM_CLICK, 0, 0);
}

bool mnemonic(HWND dialog, HWND focus, WPARAM virtualKey)
{
    const std::vector<HWND>& controls = dialog->children;
    if (controls.empty())
        return false;
    // From the control after the focused one, so that a letter marked twice reaches each in turn.
    const HWND found =
        step(controls, positionOf(controls, childOf(dialog, focus), false), false,
             [virtualKey](HWND control) {
                 return canTakeFocus(control) &&
                        !((codeOf(control) & DLGC_STATIC) && (control->style & SS_NOPREFIX)) &&
                        mnemonicOf(control->text) == wchar_t(virtualKey);
             });
    if (!found)
        return false;
    pressMnemonic(dialog, found);
    return true;
}

bool isLetterOrDigit(WPARAM virtualKey)
{
    return (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
}

bool isArrow(WPARAM virtualKey)
{
    return virtualKey == VK_LEFT || virtualKey == VK_RIGHT || virtualKey == VK_UP ||
           virtualKey == VK_DOWN;
}

// Acts on a key press for the dialog; false when the key is the control's to have.
bool dialogKey(HWND dialog, const MSG& message)
{
    const WPARAM key = message.wParam;
    const BYTE modifiers = keyModifiersOf(message);
    const HWND focus = live(GetFocus()) && within(GetFocus(), dialog) ? GetFocus() : dialog;
    const LRESULT code = codeOf(message.hwnd, &message);
    if (modifiers & FALT)
        return isLetterOrDigit(key) && mnemonic(dialog, focus, key);
    if ((code & DLGC_WANTALLKEYS) || (modifiers & FCONTROL))
        return false;
    if (key == VK_TAB && !(code & DLGC_WANTTAB)) {
        giveFocus(GetNextDlgTabItem(dialog, childOf(dialog, focus), (modifiers & FSHIFT) != 0));
        return true;
    }
    if (isArrow(key) && !(code & DLGC_WANTARROWS)) {
        giveFocus(
            GetNextDlgGroupItem(dialog, childOf(dialog, focus), key == VK_LEFT || key == VK_UP));
        return true;
    }
    if (key == VK_RETURN) {
        pressDefault(dialog, focus, code);
        return true;
    }
    if (key == VK_ESCAPE) {
        sendCommand(dialog, IDCANCEL);
        return true;
    }
    return isLetterOrDigit(key) && !(code & DLGC_WANTCHARS) && mnemonic(dialog, focus, key);
}

// The bounds of the group that holds the control at position: from its WS_GROUP control to the
// control before the next one.
std::pair<std::size_t, std::size_t> groupAround(const std::vector<HWND>& controls,
                                                std::size_t position)
{
    std::size_t first = position;
    while (first > 0 && !(controls[first]->style & WS_GROUP))
        --first;
    std::size_t last = position + 1;
    while (last < controls.size() && !(controls[last]->style & WS_GROUP))
        ++last;
    return {first, last};
}

// Windows: once the keyboard is used in a dialog, the focused control shows the focus (a dotted
// rectangle round a button's text) and the underlined letters show; Qt's styles draw both only
// for a window marked as moved by the keyboard.
void showKeyboardCues(HWND dialog)
{
    if (QWidget* frame = dialog->widget)
        frame->setAttribute(Qt::WA_KeyboardFocusChange);
}

} // namespace

} // namespace platform

using namespace platform;

BOOL IsDialogMessageW(HWND dialog, LPMSG message)
{
    if (!live(dialog) || !message || !within(message->hwnd, dialog))
        return FALSE;
    if (isKeyDown(*message))
        showKeyboardCues(dialog);
    if (isKeyDown(*message) && dialogKey(dialog, *message)) {
        forgetHeldKey(*message);
        return TRUE;
    }
    // Every other message for the dialog is dispatched here, as Windows does it.
    TranslateMessage(message);
    DispatchMessageW(message);
    return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    if (!live(dialog) || dialog->children.empty())
        return nullptr;
    const std::vector<HWND>& controls = dialog->children;
    const HWND next = step(
        controls, positionOf(controls, control, previous), previous != FALSE,
        [](HWND candidate) { return (candidate->style & WS_TABSTOP) && canTakeFocus(candidate); });
    return next ? next : live(control);
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
    if (!live(dialog) || dialog->children.empty())
        return nullptr;
    std::vector<HWND> controls;
    for (HWND child : dialog->children) {
        if (live(child))
            controls.push_back(child);
    }
    const std::size_t position = positionOf(controls, control, previous);
    const auto [first, last] = groupAround(controls, position);
    const std::vector<HWND> group(controls.begin() + std::ptrdiff_t(first),
                                  controls.begin() + std::ptrdiff_t(last));
    const HWND next = step(group, position - first, previous != FALSE, canTakeFocus);
    return next ? next : live(control);
}
