// The main window's title: "*" while unsaved, the file's name or "New file", and the product.
#include "document/title.h"
#include "app/editor.h"
#include "app/globals.h"
#include "app/status_bar.h"

std::wstring fileNameOf(const std::wstring& path)
{
    const auto separator = path.find_last_of(L"/\\");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

void Editor::updateTitle(HWND window)
{
    std::wstring title = saved ? L"" : L"*";
    title += fileName.empty() ? L"New file" : fileName;
    title += L" - ";
    title += productName;
    SetWindowTextW(window, title.c_str());
    updateStatusFormat();
}
