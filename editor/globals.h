// The process-wide state besides the Editor and the Document: names and the main window.
#pragma once

#include "platform/win32.h"

#include <string>

extern const std::string settingsFileName;
// settingsFileName in the user's settings folder, or made absolute against the folder current at
// start-up when there is no such folder (loadSettings).
extern std::wstring settingsPath;
extern const std::wstring productName;
extern const std::wstring initialTitle;
extern HWND mainWindow;
extern bool hotKeysRegistered;
extern RECT windowRect;
extern const wchar_t textFileFilter[];
