// The main window's procedure and its command and hot-key identifiers.
#pragma once

#include "platform/win32.h"

constexpr wchar_t mainWindowClassName[] = L"Quenwrite Window Class";

constexpr WORD commandNew = 1;
constexpr WORD commandOpen = 2;
constexpr WORD commandSaveAs = 3;
constexpr WORD commandAbout = 4;
constexpr WORD commandExit = 5;
constexpr WORD commandFont = 6;
constexpr WORD commandSave = 7;
constexpr WORD commandFind = 8;

constexpr int hotKeySave = 1000;
constexpr int hotKeySaveAs = 1001;
constexpr int hotKeyOpen = 1002;
constexpr int hotKeySelectAll = 1003;
constexpr int hotKeyNew = 1004;
constexpr int hotKeyFind = 1005;

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
