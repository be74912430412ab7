// The status bar's line in "settings.ini": read and written apart from the font, so that showing
// the bar writes nothing of a font choice not applied, and keeps whatever else the file holds.
#include "format/status_bar_setting.h"

#include "editor/globals.h"
#include "files/file_io.h"

namespace {

constexpr std::string_view key = "statusBar=";
constexpr std::string_view shownLine = "statusBar=1";
constexpr std::string_view header = "[Quenwrite settings]";
constexpr char endOfText = 0x1A;

// One line with its line end, if it has one.
std::string_view lineAt(std::string_view bytes, std::size_t start)
{
    const std::size_t end = bytes.find('\n', start);
    return bytes.substr(start, end == bytes.npos ? bytes.npos : end + 1 - start);
}

std::string_view withoutLineEnd(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool isStatusBarLine(std::string_view line)
{
    return line.substr(0, key.size()) == key;
}

} // namespace

bool statusBarSettingOf(std::string_view fileBytes)
{
    // Text mode, as the font keys are read: Ctrl+Z ends the file.
    fileBytes = fileBytes.substr(0, fileBytes.find(endOfText));
    bool shown = false;
    for (std::size_t at = 0; at < fileBytes.size();) {
        const std::string_view line = lineAt(fileBytes, at);
        if (isStatusBarLine(line))
            shown = withoutLineEnd(line) == shownLine;
        at += line.size();
    }
    return shown;
}

std::string withStatusBarSetting(std::string_view fileBytes, bool shown)
{
    std::string result;
    bool lastLineTaken = false;
    for (std::size_t at = 0; at < fileBytes.size();) {
        const std::string_view line = lineAt(fileBytes, at);
        lastLineTaken = isStatusBarLine(line) && line.back() != '\n';
        if (!isStatusBarLine(line))
            result += line;
        at += line.size();
    }
    // The line the bar added last had no line end; without it the one before ends the file again.
    if (lastLineTaken)
        result.resize(withoutLineEnd(result).size());
    if (!shown)
        return result;
    if (result.empty())
        result = header;
    if (result.back() != '\n')
        result += "\r\n";
    return result += shownLine;
}

bool readStatusBarSetting()
{
    std::string bytes;
    return readWholeFile(settingsPath, bytes) == ERROR_SUCCESS && statusBarSettingOf(bytes);
}

bool writeStatusBarSetting(bool shown)
{
    std::string bytes;
    const DWORD error = readWholeFile(settingsPath, bytes);
    // A file there but unreadable is left alone rather than written over without its font.
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
        return false;
    const std::string updated = withStatusBarSetting(bytes, shown);
    if (updated == bytes)
        return true;
    return writeWholeFile(settingsPath, updated) == ERROR_SUCCESS;
}
