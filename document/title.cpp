// The main window's title: "*" while unsaved, the file's name or "New file", and the product.
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"

void Editor::updateTitle(HWND window)
{
    std::wstring title = Document.saved() ? L"" : L"*";
    const std::wstring name = Document.fileName();
    title += name.empty() ? L"New file" : name;
    title += L" - ";
    title += productName;
    SetWindowTextW(window, title.c_str());
}
