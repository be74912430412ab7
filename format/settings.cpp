// The settings file: the font choice read at start-up and the pending choice written on Apply.
#include "editor/editor.h"
#include "editor/globals.h"
#include "files/file_io.h"
#include "format/font_choice.h"
#include "format/format_dialog.h"
#include "format/settings_text.h"
#include "format/status_bar_setting.h"

void Editor::loadSettings()
{
    // The file dialogs later make a document's folder current; fixing the path now keeps every
    // Apply writing the file that this start read.
    const std::wstring name(settingsFileName.begin(), settingsFileName.end());
    if (fullPathOf(name, settingsPath) != ERROR_SUCCESS)
        settingsPath = name;
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
        Editor.statusBarShown);
    // The file is replaced only once the new one is complete, so a failure keeps the old one.
    if (writeWholeFile(settingsPath, text) != ERROR_SUCCESS)
        MessageBoxW(formatWindow, L"Cannot open settings file.", L"Error", MB_ICONERROR);
}
