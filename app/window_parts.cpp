// What the editor's windows share: making a child control, painting the background and reading
// a window's whole text.
#include "app/window_parts.h"

HWND createChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style,
                 ControlBox box, int id, HINSTANCE instance)
{
    return CreateWindowExW(0, className, text, style, box.x, box.y, box.width, box.height, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
}

void paintBackground(HWND hwnd, int systemColour)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    FillRect(dc, &paint.rcPaint, reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(systemColour + 1)));
    EndPaint(hwnd, &paint);
}

std::wstring windowText(HWND hwnd)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(hwnd)), L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), int(text.size()) + 1);
    text.resize(std::size_t(copied > 0 ? copied : 0));
    return text;
}
