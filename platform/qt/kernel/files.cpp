// KERNEL32's file calls on POSIX: wide paths become UTF-8, errno becomes the Win32 error code, and
// the Windows behaviour the editor relies on is kept (a folder is not a file, read-only is
// read-only for everyone, replacing a file keeps its permissions).
#include "platform/qt/kernel/files_p.h"

#include "platform/qt/hooks_p.h"
#include "platform/qt/kernel/folders_p.h"
#include "platform/qt/text_p.h"

#include <QFile>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace platform {
FileCallHook fileCallHook = nullptr;
}

using platform::testing::FileCall;

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

BOOL fail(DWORD error)
{
    lastError = error;
    return FALSE;
}

// The test seam may fail a call before it acts.
bool injectedFault(FileCall kind)
{
    const DWORD error = platform::fileCallHook ? platform::fileCallHook(kind) : ERROR_SUCCESS;
    if (error == ERROR_SUCCESS)
        return false;
    lastError = error;
    return true;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isFolder(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Layer: a file or folder without any write bit is read-only for everyone, root included, as the
// read-only attribute is on Windows; root could otherwise write through it.
bool readOnly(const struct stat& status)
{
    return (status.st_mode & 0222) == 0;
}

bool inReadOnlyFolder(const std::string& path)
{
    struct stat status;
    return stat(folderOf(path).c_str(), &status) == 0 && readOnly(status);
}

// The descriptors our handles stand for; a handle is its descriptor plus one, so never null or
// INVALID_HANDLE_VALUE.
std::unordered_set<int>& openFiles()
{
    static std::unordered_set<int> files;
    return files;
}

} // namespace

int platform::descriptorOf(HANDLE file)
{
    const auto descriptor = reinterpret_cast<std::intptr_t>(file) - 1;
    if (descriptor < 0 || descriptor > INT32_MAX || !openFiles().count(int(descriptor)))
        return -1;
    return int(descriptor);
}

HANDLE platform::handleOf(int descriptor)
{
    openFiles().insert(descriptor);
    return reinterpret_cast<HANDLE>(std::intptr_t(descriptor) + 1);
}

namespace {

using platform::descriptorOf;

// Windows' cache writes a file's pages to the disk behind the writer; Linux keeps them until the
// flush, and a save of a gigabyte then waited a second for all of them at once. Each time the
// file passes another 8 MB, the writing of what is there starts, without waiting for it.
void writeBehind(int descriptor, DWORD written)
{
    constexpr off_t every = off_t(8) << 20;
    const off_t end = lseek(descriptor, 0, SEEK_CUR);
    if (end >= 0 && end / every != (end - off_t(written)) / every)
        sync_file_range(descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
}

// The start every call on an open file shares: no bytes done yet, the seam's say, a live handle.
// -1 when the call fails there, with its error set.
int descriptorForCall(HANDLE file, LPDWORD done, FileCall kind)
{
    if (done)
        *done = 0;
    if (injectedFault(kind))
        return -1;
    const int descriptor = descriptorOf(file);
    if (descriptor < 0)
        fail(ERROR_INVALID_HANDLE);
    return descriptor;
}

int openFlags(DWORD access, DWORD disposition, DWORD attributes)
{
    const bool reading = access & GENERIC_READ;
    const bool writing = access & GENERIC_WRITE;
    const int noFollow = (attributes & FILE_FLAG_OPEN_REPARSE_POINT) ? O_NOFOLLOW : 0;
    // No access to the data asks for the file's information only, which needs no read permission.
    if (!reading && !writing && disposition == OPEN_EXISTING)
        return O_CLOEXEC | O_PATH | noFollow;
    int flags = O_CLOEXEC | noFollow | (writing ? (reading ? O_RDWR : O_WRONLY) : O_RDONLY);
    switch (disposition) {
    case CREATE_NEW:
        return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
        return flags | O_CREAT | O_TRUNC;
    case OPEN_EXISTING:
        return flags;
    case OPEN_ALWAYS:
        return flags | O_CREAT;
    case TRUNCATE_EXISTING:
        return flags | O_TRUNC;
    default:
        return -1;
    }
}

// The status of an open file's handle; false, with the error set, for a handle that is not one.
bool statusOf(HANDLE file, struct stat& status)
{
    const int descriptor = descriptorOf(file);
    if (descriptor < 0)
        return fail(ERROR_INVALID_HANDLE);
    if (fstat(descriptor, &status) != 0)
        return fail(platform::errorOf(errno));
    return true;
}

// Whether the open asks for the file's information only, which a folder (with backup semantics)
// and a link (opened itself) allow.
bool informationOnly(const struct stat& status, DWORD access, DWORD disposition, DWORD attributes)
{
    if ((access & (GENERIC_READ | GENERIC_WRITE)) || disposition != OPEN_EXISTING)
        return false;
    return S_ISLNK(status.st_mode) ||
           (S_ISDIR(status.st_mode) && (attributes & FILE_FLAG_BACKUP_SEMANTICS));
}

// The refusals Windows makes before it touches anything: folders (but for their information) and
// read-only files. Devices and pipes open, as on Windows; what they are shows in GetFileType.
DWORD refusalOf(const std::string& path, DWORD access, DWORD disposition, DWORD attributes,
                bool& exists)
{
    struct stat status;
    exists = ((attributes & FILE_FLAG_OPEN_REPARSE_POINT) ? lstat(path.c_str(), &status)
                                                          : stat(path.c_str(), &status)) == 0;
    if (!exists)
        return disposition == CREATE_NEW || disposition == CREATE_ALWAYS ||
                       disposition == OPEN_ALWAYS
                   ? (inReadOnlyFolder(path) ? ERROR_ACCESS_DENIED : ERROR_SUCCESS)
                   : ERROR_SUCCESS;
    if (disposition == CREATE_NEW)
        return ERROR_FILE_EXISTS;
    if (S_ISDIR(status.st_mode) && !informationOnly(status, access, disposition, attributes))
        return ERROR_ACCESS_DENIED;
    if ((access & GENERIC_WRITE) && readOnly(status))
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

// After a rename, the folder's entry reaches the disk too; the rename itself has happened
// either way, so a folder that cannot be flushed is no failure.
void flushFolderOf(const std::string& path)
{
    const int folder = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
}

std::wstring wideOf(const std::string& path)
{
    return platform::nameFromNative(path);
}

// Copies text and its zero into a caller's buffer as GetCurrentDirectoryW and GetFullPathNameW
// do: the length without the zero, or the size needed with it when the buffer is too small.
DWORD copyOut(const std::wstring& text, DWORD size, LPWSTR buffer)
{
    if (!buffer || size < text.size() + 1)
        return DWORD(text.size() + 1);
    text.copy(buffer, text.size());
    buffer[text.size()] = L'\0';
    return DWORD(text.size());
}

std::wstring lexicallyNormal(const std::wstring& path)
{
    std::wstring result;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(L'/', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring part = path.substr(start, end - start);
        if (part == L"..") {
            const auto slash = result.find_last_of(L'/');
            result.erase(slash == std::wstring::npos ? 0 : slash);
        } else if (!part.empty() && part != L".") {
            result += L'/' + part;
        }
        start = end + 1;
    }
    if (result.empty() || path.back() == L'/')
        result += L'/';
    return result;
}

} // namespace

namespace platform {

std::string nativePath(LPCWSTR name)
{
    return nativeFromName(localName(name));
}

DWORD errorOf(int error, const std::string& path)
{
    switch (error) {
    case ENOENT:
        // Windows tells a missing file from a missing folder on the way to it.
        return path.empty() || isFolder(folderOf(path)) ? ERROR_FILE_NOT_FOUND
                                                        : ERROR_PATH_NOT_FOUND;
    case ENOTDIR:
    case ELOOP:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EBUSY:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    default:
        return ERROR_GEN_FAILURE;
    }
}

FILETIME fileTimeOf(const timespec& time)
{
    constexpr LONGLONG epochOffsetSeconds = 11'644'473'600;
    const LONGLONG ticks =
        (LONGLONG(time.tv_sec) + epochOffsetSeconds) * 10'000'000 + LONGLONG(time.tv_nsec) / 100;
    return {DWORD(ULONGLONG(ticks) & 0xFFFFFFFF), DWORD(ULONGLONG(ticks) >> 32)};
}

DWORD attributesOf(const struct stat& status)
{
    DWORD attributes = 0;
    if (S_ISDIR(status.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (S_ISLNK(status.st_mode))
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (readOnly(status))
        attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

} // namespace platform

using platform::errorOf;
using platform::nativePath;

HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                   DWORD disposition, DWORD attributes, HANDLE)
{
    if (injectedFault(FileCall::open))
        return INVALID_HANDLE_VALUE;
    int flags = openFlags(access, disposition, attributes);
    if (flags < 0 || !name) {
        fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (!*name) {
        fail(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = nativePath(name);
    bool existed = false;
    const DWORD refusal = refusalOf(path, access, disposition, attributes, existed);
    if (refusal != ERROR_SUCCESS) {
        fail(refusal);
        return INVALID_HANDLE_VALUE;
    }
    // A file held by another open is not truncated before the lock tells so.
    const bool locking = share == 0 && (access & (GENERIC_READ | GENERIC_WRITE));
    const bool truncating = flags & O_TRUNC;
    if (locking)
        flags &= ~O_TRUNC;
    const mode_t mode =
        platform::modeFor(security, platform::isPrivatePath(wideOf(path)) ? 0600 : 0666);
    // Opening a FIFO waits for its other end, which Windows' pipes never do: the open itself
    // does not wait, the reads and writes then do.
    int descriptor;
    do
        descriptor = open(path.c_str(), flags | O_NONBLOCK, mode);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        fail(errorOf(errno, path));
        return INVALID_HANDLE_VALUE;
    }
    if (!(flags & O_PATH))
        fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    if (locking && flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        close(descriptor);
        fail(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    if (locking && truncating && ftruncate(descriptor, 0) != 0) {
        fail(errorOf(errno, path));
        close(descriptor);
        return INVALID_HANDLE_VALUE;
    }
    const bool kept = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    lastError = existed && kept ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    return platform::handleOf(descriptor);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD done, OVERLAPPED*)
{
    const int descriptor = descriptorForCall(file, done, FileCall::read);
    if (descriptor < 0)
        return FALSE;
    ssize_t got;
    do
        got = read(descriptor, buffer, toRead);
    while (got < 0 && errno == EINTR);
    if (got < 0)
        return fail(errno == EIO ? ERROR_READ_FAULT : errorOf(errno));
    if (done)
        *done = DWORD(got);
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD done, OVERLAPPED*)
{
    const int descriptor = descriptorForCall(file, done, FileCall::write);
    if (descriptor < 0)
        return FALSE;
    const auto* bytes = static_cast<const char*>(buffer);
    DWORD written = 0;
    while (written < toWrite) {
        const ssize_t put = write(descriptor, bytes + written, toWrite - written);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (done)
                *done = written;
            return fail(put < 0 && errno != EIO ? errorOf(errno) : ERROR_WRITE_FAULT);
        }
        written += DWORD(put);
    }
    if (done)
        *done = written;
    writeBehind(descriptor, written);
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE file)
{
    const int descriptor = descriptorForCall(file, nullptr, FileCall::flush);
    if (descriptor < 0)
        return FALSE;
    if (fsync(descriptor) != 0)
        return fail(errno == EIO ? ERROR_WRITE_FAULT : errorOf(errno));
    return TRUE;
}

BOOL CloseHandle(HANDLE object)
{
    const int descriptor = descriptorOf(object);
    if (descriptor < 0)
        return fail(ERROR_INVALID_HANDLE);
    openFiles().erase(descriptor);
    // Linux releases the descriptor even when close reports an error, so it is never retried.
    const bool closed = close(descriptor) == 0 || errno == EINTR;
    const int error = errno;
    if (injectedFault(FileCall::close))
        return FALSE;
    if (!closed)
        return fail(error == EIO ? ERROR_WRITE_FAULT : errorOf(error));
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE file, LARGE_INTEGER* size)
{
    struct stat status;
    if (!size || !statusOf(file, status))
        return FALSE;
    size->QuadPart = status.st_size;
    return TRUE;
}

DWORD GetFileType(HANDLE file)
{
    struct stat status;
    if (!statusOf(file, status))
        return FILE_TYPE_UNKNOWN;
    lastError = ERROR_SUCCESS;
    if (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode))
        return FILE_TYPE_DISK;
    if (S_ISCHR(status.st_mode))
        return FILE_TYPE_CHAR;
    if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))
        return FILE_TYPE_PIPE;
    return FILE_TYPE_UNKNOWN;
}

BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information)
{
    struct stat status;
    if (!information || !statusOf(file, status))
        return FALSE;
    const auto size = ULONGLONG(status.st_size);
    const auto index = ULONGLONG(status.st_ino);
    *information = {platform::attributesOf(status),
                    {0, 0},
                    platform::fileTimeOf(status.st_atim),
                    platform::fileTimeOf(status.st_mtim),
                    DWORD(status.st_dev),
                    DWORD(size >> 32),
                    DWORD(size & 0xFFFFFFFF),
                    DWORD(status.st_nlink),
                    DWORD(index >> 32),
                    DWORD(index & 0xFFFFFFFF)};
    return TRUE;
}

BOOL GetFileInformationByHandleEx(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                                  DWORD size)
{
    if (kind != FileBasicInfo || !information || size < sizeof(FILE_BASIC_INFO))
        return fail(ERROR_INVALID_PARAMETER);
    struct stat status;
    if (!statusOf(file, status))
        return FALSE;
    const auto quad = [](const timespec& time) {
        const FILETIME ticks = platform::fileTimeOf(time);
        LARGE_INTEGER value;
        value.QuadPart = LONGLONG((ULONGLONG(ticks.dwHighDateTime) << 32) | ticks.dwLowDateTime);
        return value;
    };
    auto* basic = static_cast<FILE_BASIC_INFO*>(information);
    basic->CreationTime.QuadPart = 0;
    basic->LastAccessTime = quad(status.st_atim);
    basic->LastWriteTime = quad(status.st_mtim);
    basic->ChangeTime = quad(status.st_ctim);
    basic->FileAttributes = platform::attributesOf(status);
    return TRUE;
}

DWORD GetFinalPathNameByHandleW(HANDLE file, LPWSTR path, DWORD size, DWORD flags)
{
    const int descriptor = descriptorOf(file);
    if (descriptor < 0 || flags != (FILE_NAME_NORMALIZED | VOLUME_NAME_DOS)) {
        fail(descriptor < 0 ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::error_code error;
    const std::filesystem::path real =
        std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(descriptor), error);
    if (error) {
        fail(errorOf(error.value()));
        return 0;
    }
    return copyOut(wideOf(real.string()), size, path);
}

DWORD GetFileAttributesW(LPCWSTR name)
{
    if (!name || !*name) {
        fail(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string path = nativePath(name);
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        fail(errorOf(errno, path));
        return INVALID_FILE_ATTRIBUTES;
    }
    return platform::attributesOf(status);
}

BOOL CreateDirectoryW(LPCWSTR name, SECURITY_ATTRIBUTES*)
{
    if (!name || !*name)
        return fail(ERROR_PATH_NOT_FOUND);
    const std::string path = nativePath(name);
    const mode_t mode = platform::isPrivatePath(wideOf(path)) ? 0700 : 0777;
    if (mkdir(path.c_str(), mode) != 0)
        return fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : errorOf(errno, path));
    return TRUE;
}

BOOL MoveFileExW(LPCWSTR existing, LPCWSTR newName, DWORD flags)
{
    if (injectedFault(FileCall::rename))
        return FALSE;
    if (!existing || !newName)
        return fail(ERROR_INVALID_PARAMETER);
    const std::string from = nativePath(existing);
    const std::string to = nativePath(newName);
    struct stat status;
    if (lstat(from.c_str(), &status) != 0)
        return fail(errorOf(errno, from));
    if (lstat(to.c_str(), &status) == 0) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING))
            return fail(ERROR_ALREADY_EXISTS);
        if (!S_ISREG(status.st_mode) || readOnly(status))
            return fail(ERROR_ACCESS_DENIED);
    }
    if (inReadOnlyFolder(from) || inReadOnlyFolder(to))
        return fail(ERROR_ACCESS_DENIED);
    if (rename(from.c_str(), to.c_str()) != 0)
        return fail(errorOf(errno, to));
    if (flags & MOVEFILE_WRITE_THROUGH)
        flushFolderOf(to);
    return TRUE;
}

namespace {

// The replaced file's extended attributes (Windows' named streams), each one the user may set.
void carryExtendedAttributes(const std::string& replacement, const std::string& replaced)
{
    const ssize_t size = listxattr(replaced.c_str(), nullptr, 0);
    if (size <= 0)
        return;
    std::string names(std::size_t(size), '\0');
    const ssize_t listed = listxattr(replaced.c_str(), names.data(), names.size());
    for (std::size_t at = 0; listed > 0 && at < std::size_t(listed);
         at += std::strlen(names.c_str() + at) + 1) {
        const char* name = names.c_str() + at;
        const ssize_t length = getxattr(replaced.c_str(), name, nullptr, 0);
        if (length < 0)
            continue;
        std::string value(std::size_t(length), '\0');
        if (getxattr(replaced.c_str(), name, value.data(), value.size()) == length)
            setxattr(replacement.c_str(), name, value.data(), value.size(), 0);
    }
}

// What Windows carries from the replaced file to its replacement, as far as the user may: the
// group (a member may give it), the owner (only root may), the extended attributes, then the
// mode, last because a change of owner clears the set-id bits.
bool carryOwnerAndMode(const std::string& replacement, const std::string& replacedPath,
                       const struct stat& replaced)
{
    [[maybe_unused]] const int group = chown(replacement.c_str(), uid_t(-1), replaced.st_gid);
    [[maybe_unused]] const int owner = chown(replacement.c_str(), replaced.st_uid, gid_t(-1));
    carryExtendedAttributes(replacement, replacedPath);
    return chmod(replacement.c_str(), replaced.st_mode & 07777) == 0;
}

// The name Windows gives a replaced file it had to move aside without a backup name.
std::string asideName(const std::string& path, const struct stat& status)
{
    return folderOf(path) + "/~RF" + std::to_string(status.st_ino) + ".TMP";
}

bool halfway(DWORD error)
{
    return error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

// The replaced file's real path and status: a symbolic link keeps pointing at the replaced text.
bool replacedFile(LPCWSTR replaced, std::string& path, struct stat& status)
{
    const std::unique_ptr<char, decltype(&std::free)> real(
        realpath(nativePath(replaced).c_str(), nullptr), &std::free);
    if (!real || stat(real.get(), &status) != 0)
        return fail(errorOf(errno, nativePath(replaced)));
    path = real.get();
    return true;
}

} // namespace

// Layer: the replaced file's group, owner and mode pass to the replacement as far as the user may;
// with a backup name the replaced file takes that name. As on Windows, the user must be allowed to
// write the replaced file, and only a regular file is replaced: renaming over a pipe or a device
// node (/dev/full, as root) would put a plain file in its place. The seam's ERROR_UNABLE_TO_MOVE_
// REPLACEMENT and ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 leave the files as Windows leaves them then.
BOOL ReplaceFileW(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD, LPVOID, LPVOID)
{
    const DWORD injected =
        platform::fileCallHook ? platform::fileCallHook(FileCall::rename) : ERROR_SUCCESS;
    if (injected != ERROR_SUCCESS && !halfway(injected))
        return fail(injected);
    if (!replaced || !replacement)
        return fail(ERROR_INVALID_PARAMETER);
    const std::string from = nativePath(replacement);
    std::string to;
    struct stat status;
    if (!replacedFile(replaced, to, status))
        return FALSE;
    if (!S_ISREG(status.st_mode) || readOnly(status) || inReadOnlyFolder(to) ||
        inReadOnlyFolder(from) || faccessat(AT_FDCWD, to.c_str(), W_OK, AT_EACCESS) != 0)
        return fail(ERROR_ACCESS_DENIED);
    if (injected == ERROR_UNABLE_TO_MOVE_REPLACEMENT && backup)
        return fail(injected);
    if (!carryOwnerAndMode(from, to, status))
        return fail(ERROR_UNABLE_TO_REMOVE_REPLACED);
    if (injected == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
        unlink(to.c_str());
        return fail(injected);
    }
    const bool aside = backup || injected != ERROR_SUCCESS;
    const std::string asideAs = backup ? nativePath(backup) : asideName(to, status);
    if (aside && rename(to.c_str(), asideAs.c_str()) != 0)
        return fail(ERROR_UNABLE_TO_REMOVE_REPLACED);
    // A rename fails whole: without a name set aside nothing changed.
    if (injected != ERROR_SUCCESS || rename(from.c_str(), to.c_str()) != 0)
        return fail(aside ? ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 : ERROR_UNABLE_TO_REMOVE_REPLACED);
    flushFolderOf(to);
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR name)
{
    if (injectedFault(FileCall::remove))
        return FALSE;
    if (!name)
        return fail(ERROR_INVALID_PARAMETER);
    const std::string path = nativePath(name);
    struct stat status;
    if (lstat(path.c_str(), &status) != 0)
        return fail(errorOf(errno, path));
    if (S_ISDIR(status.st_mode) || readOnly(status) || inReadOnlyFolder(path))
        return fail(ERROR_ACCESS_DENIED);
    if (unlink(path.c_str()) != 0)
        return fail(errorOf(errno, path));
    return TRUE;
}

DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer)
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error) {
        fail(errorOf(error.value()));
        return 0;
    }
    return copyOut(wideOf(current.string()), size, buffer);
}

// Lexical, as on Windows: the file system is not consulted, "." and ".." are folded away.
DWORD GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart)
{
    if (!name || !*name) {
        fail(ERROR_INVALID_NAME);
        return 0;
    }
    std::wstring path = name;
    if (path.front() != L'/') {
        std::error_code error;
        const std::filesystem::path current = std::filesystem::current_path(error);
        if (error) {
            fail(errorOf(error.value()));
            return 0;
        }
        path = wideOf(current.string()) + L'/' + path;
    }
    const std::wstring full = lexicallyNormal(path);
    const DWORD result = copyOut(full, size, buffer);
    if (filePart && result == full.size())
        *filePart = full.back() == L'/' ? nullptr : buffer + full.find_last_of(L'/') + 1;
    return result;
}

DWORD GetLastError()
{
    return lastError;
}

void SetLastError(DWORD error)
{
    lastError = error;
}
