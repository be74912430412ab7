// The Format text window: the pending font choice, which outlives the window, and its layout.
#pragma once

#include "platform/win32.h"

#include <string>

constexpr wchar_t formatWindowClassName[] = L"Format text window class";

// The Format text window's controls that act (the labels and the preview have none). Apply is
// IDOK, so that Enter applies; Esc sends IDCANCEL, which closes the window as its close box does.
constexpr int applyId = IDOK;
constexpr int boldId = 3;
constexpr int italicId = 4;
constexpr int familyListId = 5;
constexpr int sizeListId = 6;

struct FormatDialog {
    HWND previewStatic = nullptr;
    HFONT previewFont = nullptr;
    HWND familyList = nullptr;
    HWND sizeList = nullptr;
    int pendingSize;
    int pendingWeight;
    bool pendingItalic;
    // Refers to the Editor's family until the user picks a list entry, so a family loaded from
    // the settings file is the one shown, previewed and written back.
    const std::wstring* pendingFamily;
    const std::wstring families[3] = {L"Arial", L"Courier New", L"Times New Roman"};
    const wchar_t sizeTexts[10][4] = {L"10", L"11", L"12", L"14", L"16",
                                      L"18", L"20", L"24", L"28", L"36"};
    const int sizes[10] = {10, 11, 12, 14, 16, 18, 20, 24, 28, 36};
    const int width = 380;
    const int height = 400;
    const int previewX = 10;
    const int familyColumnX = 8;
    const int sizeColumnX = 165;
    const int styleColumnX = 260;
    const int previewY = 230;

    FormatDialog(int size, int weight, bool italic, const std::wstring& family);

    void saveSettings(HWND formatWindow);
};

extern struct FormatDialog FormatDialog;

void openFormatWindow(HWND owner);
LRESULT CALLBACK formatWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
