// Writing a file through a temporary file beside it that then takes its place: the backup name
// that keeps the previous text within reach, the end states of a replacement that failed
// half-way, and the temporary files crashed saves left behind.
#include "files/write_steps.h"

namespace {

// Whether the name is one of this editor's temporary names, .quenwrite-<number>.tmp.
bool temporaryName(const std::wstring& name)
{
    const std::wstring start = L".quenwrite-";
    const std::wstring end = L".tmp";
    if (name.size() <= start.size() + end.size() || name.compare(0, start.size(), start) != 0 ||
        name.compare(name.size() - end.size(), end.size(), end) != 0)
        return false;
    const std::wstring number = name.substr(start.size(), name.size() - start.size() - end.size());
    return number.find_first_not_of(L"0123456789") == std::wstring::npos;
}

// A temporary file that another save left behind goes once nobody can be using it: no program
// has it open (a save writes its own without sharing) and it was last written more than a day
// ago, long after any save's moment between closing it and moving it into place. A save that
// failed half-way said so when it kept the text under such a name; the day leaves the user time.
void removeIfStale(const std::wstring& temporary, FILETIME written)
{
    constexpr ULONGLONG day = 24ULL * 60 * 60 * 10'000'000;
    const auto ticks = [](FILETIME time) {
        return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    if (ticks(now) < ticks(written) + day)
        return;
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(file);
    DeleteFileW(temporary.c_str());
}

void removeStaleTemporaries(const std::wstring& target)
{
    const std::wstring folder = folderPartOf(target);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L".quenwrite-*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (temporaryName(found.cFileName) && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            removeIfStale(folder + found.cFileName, found.ftLastWriteTime);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A new file beside the target, and a free name for the target's backup of the same number.
HANDLE createTemporary(const std::wstring& target, bool replacing, std::wstring& temporary,
                       std::wstring& backup)
{
    OwnerOnly ownerOnly;
    if (replacing && !ownerOnly.made())
        return INVALID_HANDLE_VALUE;
    SECURITY_ATTRIBUTES* security = replacing ? ownerOnly.attributes() : nullptr;
    removeStaleTemporaries(target);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        backup = backupPathFor(target, attempt);
        // Another save's backup may be the only copy of a file's text: never replaced.
        if (GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        temporary = temporaryPathFor(target, attempt);
        HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, security, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return INVALID_HANDLE_VALUE;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// The names of one replacement: the target, the new text's file beside it, and the name the
// target's previous text takes while the new one moves in.
struct Replacement {
    std::wstring target;
    std::wstring temporary;
    std::wstring backup;
};

// A replacement that failed half-way leaves the target's name empty (ERROR_UNABLE_TO_MOVE_
// REPLACEMENT_2: its text is under the backup name; without a backup name, ERROR_UNABLE_TO_MOVE_
// REPLACEMENT: its text is gone), the new text only under the temporary name. What is on disk
// says which came about: the previous text goes back under its name, or both stay and left
// names them. The temporary file goes only while the target still holds its text.
void putBack(const Replacement& names, HalfDone* left)
{
    const bool targetThere = GetFileAttributesW(names.target.c_str()) != INVALID_FILE_ATTRIBUTES;
    const bool backupThere = GetFileAttributesW(names.backup.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!targetThere && backupThere &&
        MoveFileExW(names.backup.c_str(), names.target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(names.temporary.c_str());
        if (left)
            left->putBack = true;
        return;
    }
    if (targetThere) {
        DeleteFileW(names.temporary.c_str());
        return;
    }
    if (left)
        *left = {backupThere ? names.backup : std::wstring(), names.temporary};
}

DWORD moveIntoPlace(const Replacement& names, bool replacing, HalfDone* left)
{
    // A new file takes the folder's permissions by a plain move.
    if (!replacing) {
        if (MoveFileExW(names.temporary.c_str(), names.target.c_str(), MOVEFILE_WRITE_THROUGH))
            return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        DeleteFileW(names.temporary.c_str());
        return error;
    }
    // Replacing keeps the target's attributes and permissions. The backup name keeps the
    // previous text within reach should the system fail half-way; after success it is a copy.
    if (ReplaceFileW(names.target.c_str(), names.temporary.c_str(), names.backup.c_str(), 0,
                     nullptr, nullptr)) {
        DeleteFileW(names.backup.c_str());
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    putBack(names, left);
    return error;
}

} // namespace

DWORD writeThroughTemporary(const std::wstring& target, const BytePieces& pieces, bool replacing,
                            HalfDone* left, AsideFolder asideFolder)
{
    Replacement names{target, {}, {}};
    HANDLE file = createTemporary(target, replacing, names.temporary, names.backup);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A folder the user may not write, with a file in it the user may: the file's own bytes
        // are written, its copy set aside in the user's own folder.
        if (error != ERROR_ACCESS_DENIED || !replacing || !asideFolder || !fileWritable(target))
            return error;
        const std::wstring aside = asideFolder();
        return aside.empty() ? error : writeInPlace(target, aside + L"\\", pieces, left);
    }
    DWORD error = writeAll(file, pieces);
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file))
        error = GetLastError();
    if (!CloseHandle(file) && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error == ERROR_SUCCESS)
        return moveIntoPlace(names, replacing, left);
    // A temporary file that cannot be removed holds only a copy; the failure that matters is
    // the one already in error.
    DeleteFileW(names.temporary.c_str());
    return error;
}
