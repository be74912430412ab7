// SHGetFolderPathW for the per-user folders a program keeps its state and its settings in, and the
// names inside them: on Linux those are the XDG state and config folders, and Windows'
// conventions are mapped to Linux's there.
#include "platform/qt/kernel/folders_p.h"

#include "platform/qt/text_p.h"
#include "platform/win32.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <cwctype>

#include <sys/stat.h>

namespace platform {

namespace {

bool startsFolder(const std::wstring& path, const std::wstring& folder, wchar_t separator)
{
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == separator;
}

// Makes the folder and the ones above it that are missing, the new ones the user's alone.
bool makeFolders(const std::wstring& folder)
{
    const QByteArray native = QFile::encodeName(toQString(folder));
    for (qsizetype slash = native.indexOf('/', 1); slash != -1;
         slash = native.indexOf('/', slash + 1))
        mkdir(native.left(slash).constData(), 0700);
    struct stat status;
    return (mkdir(native.constData(), 0700) == 0 || errno == EEXIST) &&
           stat(native.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The XDG rule: unset, empty or relative means the default under the home folder.
std::wstring xdgFolder(const char* variable, const QString& underHome)
{
    const char* set = std::getenv(variable);
    if (set && set[0] == '/')
        return toWString(QDir::cleanPath(QFile::decodeName(set)));
    return toWString(QDir::homePath() + underHome);
}

// The folder of a name given in Windows' form inside one of the per-user folders, or empty.
std::wstring perUserFolderOf(const std::wstring& name, wchar_t separator)
{
    for (const std::wstring& folder : {stateFolder(), configFolder()}) {
        if (startsFolder(name, folder, separator))
            return folder;
    }
    return {};
}

} // namespace

std::wstring stateFolder()
{
    return xdgFolder("XDG_STATE_HOME", QStringLiteral("/.local/state"));
}

std::wstring configFolder()
{
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

std::wstring localName(const std::wstring& name)
{
    const std::wstring folder = perUserFolderOf(name, L'\\');
    if (folder.empty())
        return name;
    std::wstring rest = name.substr(folder.size());
    std::replace(rest.begin(), rest.end(), L'\\', L'/');
    const std::size_t programEnd = std::min(rest.find(L'/', 1), rest.size());
    for (std::size_t i = 1; i < programEnd; ++i)
        rest[i] = wchar_t(std::towlower(wint_t(rest[i])));
    return folder + rest;
}

bool isPrivatePath(const std::wstring& path)
{
    return !perUserFolderOf(path, L'/').empty();
}

} // namespace platform

using namespace platform;

HRESULT SHGetFolderPathW(HWND, int folder, HANDLE, DWORD, LPWSTR path)
{
    if (!path)
        return E_INVALIDARG;
    path[0] = L'\0';
    const int which = folder & 0xFF;
    if (which != CSIDL_LOCAL_APPDATA && which != CSIDL_APPDATA)
        return E_INVALIDARG;
    const std::wstring found = which == CSIDL_APPDATA ? configFolder() : stateFolder();
    // Windows answers with a folder that exists, made first when asked to.
    const bool exists = QDir(toQString(found)).exists();
    if (found.size() >= MAX_PATH || (!exists && !(folder & CSIDL_FLAG_CREATE)))
        return E_FAIL;
    if (!exists && !makeFolders(found))
        return E_FAIL;
    found.copy(path, found.size());
    path[found.size()] = L'\0';
    return S_OK;
}
