// The main window's procedure.
#pragma once

#include "app/commands.h"
#include "platform/win32.h"

constexpr wchar_t mainWindowClassName[] = L"Quenwrite Window Class";

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
