// The process-wide state besides the Editor: names, the document's file and the main window.
#pragma once

#include "document/file_change.h"
#include "platform/win32.h"

#include <string>

extern const std::string settingsFileName;
// settingsFileName made absolute against the folder current at start-up (loadSettings).
extern std::wstring settingsPath;
extern const std::wstring productName;
extern const std::wstring initialTitle;
extern std::wstring filePath;
extern std::wstring fileName;
// The document's file as it was when the document last read or wrote it.
extern FileIdentity fileIdentity;
extern HWND mainWindow;
extern bool hotKeysRegistered;
extern RECT windowRect;
extern const wchar_t textFileFilter[];
