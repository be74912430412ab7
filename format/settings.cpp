// The settings file: the font choice read at start-up and the pending choice written on Apply.
#include "app/editor.h"
#include "app/globals.h"
#include "app/status_bar.h"
#include "document/file_io.h"
#include "format/font_choice.h"
#include "format/format_dialog.h"
#include "format/settings_text.h"
#include "format/status_bar_setting.h"

namespace {

// The name made absolute against the current folder; the name itself if that fails.
std::wstring fullPathOf(const std::string& name)
{
    const std::wstring wide(name.begin(), name.end());
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring path(size, L'\0');
    const DWORD length = size ? GetFullPathNameW(wide.c_str(), size, path.data(), nullptr) : 0;
    if (length == 0 || length >= size)
        return wide;
    path.resize(length);
    return path;
}

} // namespace

void Editor::loadSettings()
{
    // The file dialogs later make a document's folder current; fixing the path now keeps every
    // Apply writing the file that this start read.
    settingsPath = fullPathOf(settingsFileName);
    std::string bytes;
    // A missing or unreadable file leaves the start-up font, and there is nothing to tell.
    if (readWholeFile(settingsPath, bytes) != ERROR_SUCCESS)
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
        statusBarShown());
    // The file is replaced only once the new one is complete, so a failure keeps the old one.
    if (writeWholeFile(settingsPath, text) != ERROR_SUCCESS)
        MessageBoxW(formatWindow, L"Cannot open settings file.", L"Error", MB_ICONERROR);
}
