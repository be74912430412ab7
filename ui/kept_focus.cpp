// The control that had the focus, kept in the window's GWL_USERDATA while it is inactive.
#include "ui/kept_focus.h"

namespace {

bool isControlOf(HWND window, HWND control)
{
    return control && IsWindow(control) &&
           reinterpret_cast<HWND>(GetWindowLongW(control, GWL_HWNDPARENT)) == window;
}

} // namespace

bool keepFocusAcrossActivation(HWND window, WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (isControlOf(window, focus))
            SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG>(focus));
        return false;
    }
    // A minimized window takes no focus until it is restored.
    if (HIWORD(wParam))
        return false;
    const auto kept = reinterpret_cast<HWND>(GetWindowLongW(window, GWL_USERDATA));
    if (!isControlOf(window, kept) || !IsWindowEnabled(kept))
        return false;
    SetFocus(kept);
    // As a dialog gives it back: a box's whole text selected, so that the next word replaces it.
    if (SendMessageW(kept, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(kept, EM_SETSEL, 0, -1);
    return true;
}
