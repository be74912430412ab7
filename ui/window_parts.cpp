// What the editor's windows share: making a child control, painting the background, reading a
// window's whole text or giving the edit control a new one, and telling the user something.
#include "ui/window_parts.h"

#include "editor/globals.h"

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
    return std::wstring(wholeText(hwnd).text);
}

WholeText wholeText(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    WholeText whole{std::make_unique_for_overwrite<wchar_t[]>(std::size_t(length) + 1), {}};
    const int copied = GetWindowTextW(hwnd, whole.buffer.get(), length + 1);
    whole.text = std::wstring_view(whole.buffer.get(), std::size_t(copied > 0 ? copied : 0));
    return whole;
}

void showFromTop(HWND edit)
{
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
}

void tellUser(HWND window, const std::wstring& text, UINT icon)
{
    MessageBoxW(window, text.c_str(), productName.c_str(), MB_OK | icon);
}
