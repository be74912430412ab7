// Whether the status bar is shown, kept in "settings.ini" as a line of its own, statusBar=1,
// present only while it is shown. So the file of a user who never shows the bar stays exactly as
// it always was, and an older Quenwrite, which looks only for the font keys, reads the file as
// before.
#pragma once

#include <string>
#include <string_view>

// The choice in a file's bytes: true when its last line that begins with "statusBar=" says 1.
// Unlike the font keys, which count anywhere in a line, it must begin the line, so a font name
// holding the word can never turn the bar on or off.
bool statusBarSettingOf(std::string_view fileBytes);
// The file's bytes with the choice in them: every statusBar line taken out, and, when shown, one
// put at the end. The other lines stay as they are, byte for byte.
std::string withStatusBarSetting(std::string_view fileBytes, bool shown);

// The choice in the settings file (settingsPath); hidden when there is none or it cannot be read.
bool readStatusBarSetting();
// Writes the choice into the settings file; false when it could not be written.
bool writeStatusBarSetting(bool shown);
