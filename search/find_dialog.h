// The Find window: where the next forward search starts and the controls of the newest window.
#pragma once

#include "platform/win32.h"

// The Find window's controls.
constexpr int findEditId = 100;
constexpr int findButtonId = IDOK;
constexpr int cancelButtonId = IDCANCEL;
constexpr int matchCaseId = 3;

struct FindDialog {
    int startPosition = 0;
    HWND findEdit = nullptr;
    HWND findButton = nullptr;
    const wchar_t className[20] = L"Search Dialog Class";
    const int width = 400;
    const int height = 130;
    const int controlHeight = 20;
    const int buttonWidth = 80;

    // Searches forward from startPosition, round the end of the document when the needle lies
    // only before it; with matchCase false, letters match in either case.
    void findNext(const wchar_t* needle, HWND owner, bool matchCase = true);
};

extern struct FindDialog FindDialog;

void openFindWindow(HWND owner);
LRESULT CALLBACK findWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
