// FindFirstFileW and FindNextFileW on a folder's listing: the names are read at once and handed
// out one at a time, matched against the pattern's * and ? without regard to case, as Windows
// matches them.
#include "platform/qt/kernel/files_p.h"

#include "platform/qt/text_p.h"

#include <QFile>

#include <cwctype>
#include <memory>
#include <unordered_set>
#include <vector>

#include <dirent.h>

namespace {

struct Search {
    std::vector<WIN32_FIND_DATAW> found;
    std::size_t next = 0;
};

std::unordered_set<Search*>& searches()
{
    static std::unordered_set<Search*> open;
    return open;
}

bool matches(const wchar_t* pattern, const wchar_t* name)
{
    if (!*pattern)
        return !*name;
    if (*pattern == L'*')
        return matches(pattern + 1, name) || (*name && matches(pattern, name + 1));
    if (!*name)
        return false;
    const bool same =
        *pattern == L'?' || std::towlower(wint_t(*pattern)) == std::towlower(wint_t(*name));
    return same && matches(pattern + 1, name + 1);
}

bool describe(const std::string& folder, const std::wstring& name, WIN32_FIND_DATAW& entry)
{
    struct stat status;
    const std::string path = folder + "/" + platform::nativeFromName(name);
    if (name.size() >= MAX_PATH || lstat(path.c_str(), &status) != 0)
        return false;
    entry = {};
    entry.dwFileAttributes = platform::attributesOf(status);
    entry.ftCreationTime = platform::fileTimeOf(status.st_mtim);
    entry.ftLastAccessTime = platform::fileTimeOf(status.st_atim);
    entry.ftLastWriteTime = platform::fileTimeOf(status.st_mtim);
    entry.nFileSizeHigh = DWORD(ULONGLONG(status.st_size) >> 32);
    entry.nFileSizeLow = DWORD(ULONGLONG(status.st_size) & 0xFFFFFFFF);
    name.copy(entry.cFileName, name.size());
    return true;
}

} // namespace

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* found)
{
    if (!pattern || !found) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string whole = platform::nativePath(pattern);
    const auto slash = whole.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : whole.substr(0, slash);
    const std::wstring wanted = platform::nameFromNative(whole.substr(slash + 1));
    const auto close = [](DIR* open) { closedir(open); };
    const std::unique_ptr<DIR, decltype(close)> listing(opendir(folder.c_str()), close);
    if (!listing) {
        SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : platform::errorOf(errno, folder));
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_unique<Search>();
    while (const dirent* item = readdir(listing.get())) {
        const std::wstring name = platform::nameFromNative(item->d_name);
        WIN32_FIND_DATAW entry;
        if (matches(wanted.c_str(), name.c_str()) && describe(folder, name, entry))
            search->found.push_back(entry);
    }
    if (search->found.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    *found = search->found[search->next++];
    searches().insert(search.get());
    return search.release();
}

BOOL FindNextFileW(HANDLE handle, WIN32_FIND_DATAW* found)
{
    auto* search = static_cast<Search*>(handle);
    if (!searches().count(search) || !found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (search->next == search->found.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *found = search->found[search->next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle)
{
    auto* search = static_cast<Search*>(handle);
    if (!searches().erase(search)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete search;
    return TRUE;
}
