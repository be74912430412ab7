// The Replace and Go to line windows' shared frame.
#include "search/tool_window.h"

#include "editor/globals.h"
#include "ui/kept_focus.h"
#include "ui/window_parts.h"

HWND openToolWindow(HWND& open, const wchar_t* className, const wchar_t* title, int width,
                    int height, HWND owner)
{
    if (IsWindow(open)) {
        SetActiveWindow(open);
        return nullptr;
    }
    open = CreateWindowExW(0, className, title, WS_VISIBLE | WS_SYSMENU, CW_USEDEFAULT,
                           CW_USEDEFAULT, width, height, owner, nullptr, nullptr, nullptr);
    return open;
}

LRESULT toolWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                          void (*onCommand)(HWND hwnd, WPARAM wParam))
{
    switch (message) {
    case WM_ACTIVATE:
        if (keepFocusAcrossActivation(hwnd, wParam))
            return 0;
        break;
    case WM_DESTROY:
        SetActiveWindow(mainWindow);
        break;
    case WM_PAINT:
        paintBackground(hwnd, COLOR_MENU);
        return 0;
    case WM_COMMAND:
        onCommand(hwnd, wParam);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
