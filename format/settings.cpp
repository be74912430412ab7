// The settings file: the font choice read at start-up and the pending choice written on Apply.
#include "editor/editor.h"
#include "editor/globals.h"
#include "files/file_io.h"
#include "format/font_choice.h"
#include "format/format_dialog.h"
#include "format/settings_text.h"
#include "format/status_bar_setting.h"

namespace {

// The file in the user's own settings folder (%APPDATA%\Quenwrite, made when missing), which the
// program finds from whatever folder it starts in; empty when there is no such folder.
std::wstring perUserSettingsPath(const std::wstring& name)
{
    wchar_t base[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                         base) != S_OK)
        return {};
    const std::wstring folder = std::wstring(base) + L"\\Quenwrite";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return {};
    return folder + L"\\" + name;
}

// Sets settingsPath and reads the settings there. Before the per-user file exists, the file that
// earlier versions kept in the folder current at start-up is read once and copied over, so the
// choice in it is kept; should the copy fail, the next start reads it there again.
bool readSettingsBytes(std::string& bytes)
{
    const std::wstring name(settingsFileName.begin(), settingsFileName.end());
    std::wstring here;
    if (fullPathOf(name, here) != ERROR_SUCCESS)
        here = name;
    const std::wstring perUser = perUserSettingsPath(name);
    settingsPath = perUser.empty() ? here : perUser;
    if (readWholeFile(settingsPath, bytes) == ERROR_SUCCESS)
        return true;
    if (perUser.empty() || fileExists(perUser) || readWholeFile(here, bytes) != ERROR_SUCCESS)
        return false;
    writeWholeFile(perUser, bytes);
    return true;
}

} // namespace

void Editor::loadSettings()
{
    std::string bytes;
    // A missing or unreadable file leaves the start-up font, and there is nothing to tell.
    if (!readSettingsBytes(bytes))
        return;
    FontChoice choice = {fontSize, fontWeight, fontItalic, fontFamily};
    readSettingsText(bytes, choice);
    fontSize = choice.size;
    fontWeight = choice.weight;
    fontItalic = choice.italic;
    fontFamily = choice.family;
    // The Format text window starts from the loaded choice, so an Apply that changes only the
    // family keeps the saved size and style. Its family already refers to fontFamily.
    FormatDialog.pendingSize = fontSize;
    FormatDialog.pendingWeight = fontWeight;
    FormatDialog.pendingItalic = fontItalic;
    const HFONT font = createFontFromChoice(fontSize, fontWeight, fontItalic, fontFamily.c_str());
    SendMessageW(editControl, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void FormatDialog::saveSettings(HWND formatWindow)
{
    // The whole file anew, with the status bar's line when it is shown.
    const std::string text = withStatusBarSetting(
        settingsText(pendingSize, pendingWeight, pendingItalic, pendingFamily->c_str()),
        Editor.statusBarShown);
    // The file is replaced only once the new one is complete, so a failure keeps the old one.
    if (writeWholeFile(settingsPath, text) != ERROR_SUCCESS)
        MessageBoxW(formatWindow, L"Cannot open settings file.", L"Error", MB_ICONERROR);
}
