// The one editor object: the edit control that holds the document, the font choice read at
// start-up, the menus, whether the text has unsaved changes and how Save writes it.
#pragma once

#include "document/text_format.h"
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
    HMENU encodingMenu;
    HMENU lineEndMenu;
    bool saved;
    // The encoding and line ends Save writes: the opened file's own, or those the user chose.
    TextFormat textFormat;
    // The line ends of an opened file that mixes CR LF and LF, until a save has written them all
    // in one form (the user hears of it first) or the user has chosen the form; zero otherwise.
    LineEndCounts mixedLineEnds;

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
