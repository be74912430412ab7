// The one editor object: the edit control that holds the document's text, the font choice read at
// start-up, the menus and the document's operations.
#pragma once

#include "platform/win32.h"

#include <string>

struct Editor {
    HWND editControl = nullptr;
    std::wstring fontFamily;
    int fontSize;
    int fontWeight;
    bool fontItalic;
    HFONT editFont;
    HMENU menuBar;
    HMENU fileMenu;
    HMENU helpMenu;
    HMENU formatMenu;
    HMENU editMenu;
    HMENU viewMenu;
    HMENU encodingMenu;
    HMENU lineEndMenu;
    // The View menu's status bar, as the user last chose it; kept in "settings.ini".
    bool statusBarShown = false;

    Editor();

    void updateTitle(HWND window);
    void openFile(HWND window);
    void readFile(const wchar_t* path, HWND window);
    // Each is true when the text was written.
    bool writeFile(HWND window, std::wstring path);
    bool save(HWND window);
    bool saveAs(HWND window);
    void newDocument(HWND window, bool keepWindow);
    void loadSettings();
};

extern struct Editor Editor;
