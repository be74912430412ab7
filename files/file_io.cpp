// Whole-file reads and safe replacing writes on the platform's file calls.
#include "files/file_io.h"

#include "files/file_owner.h"
#include "files/write_steps.h"

#include "encoding/text_units.h"

#include <algorithm>
#include <memory>

DWORD fullPathOf(const std::wstring& name, std::wstring& path)
{
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return GetLastError();
    path.assign(size, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), size, path.data(), nullptr);
    if (length == 0 || length >= size)
        return length == 0 ? GetLastError() : ERROR_INVALID_NAME;
    path.resize(length);
    return ERROR_SUCCESS;
}

std::wstring fileNameOf(const std::wstring& path)
{
    const auto separator = path.find_last_of(L"/\\");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// Windows refuses paths of MAX_PATH (260) units and more unless they carry the \\?\ prefix; the
// dialogs hand out full paths with backslashes, which is the form that prefix needs.
std::wstring longPathForm(const std::wstring& path)
{
    constexpr std::size_t maxPath = 260;
    if (path.size() < maxPath)
        return path;
    const bool drive = path.size() > 2 && path[1] == L':' && path[2] == L'\\';
    if (drive)
        return L"\\\\?\\" + path;
    const bool share = path.compare(0, 2, L"\\\\") == 0 && path.compare(0, 4, L"\\\\?\\") != 0;
    if (share)
        return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

namespace {

std::wstring besideTarget(const std::wstring& target, int attempt, const wchar_t* extension)
{
    // The name may be longer than the target's: the long form keeps it within reach.
    return longPathForm(folderPartOf(target) + L".quenwrite-" + std::to_wstring(attempt) +
                        extension);
}

} // namespace

std::wstring temporaryPathFor(const std::wstring& target, int attempt)
{
    return besideTarget(target, attempt, L".tmp");
}

std::wstring backupPathFor(const std::wstring& target, int attempt)
{
    return besideTarget(target, attempt, L".bak");
}

namespace {

constexpr DWORD pieceSize = 1 << 20;

// Reads straight into pieces, each filled before the next is made: an eighth of the file, between
// 256 KB and 64 MB, so that the pieces Open has not yet let go of add at most about an eighth to
// the file's text, and a large file's pieces are large enough for the system to take each from
// its own memory and back when it is let go.
DWORD readAll(HANDLE file, FileBytes& bytes, ULONGLONG limit)
{
    LARGE_INTEGER size;
    std::uint64_t expected = 0;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        if (ULONGLONG(size.QuadPart) > limit)
            return ERROR_FILE_TOO_LARGE;
        expected = std::uint64_t(size.QuadPart);
    }
    const std::uint64_t largestPiece =
        std::clamp<std::uint64_t>(expected / 8, std::uint64_t(256) << 10, std::uint64_t(64) << 20);
    for (;;) {
        // A file that grows while it is read is held to the same limit.
        if (bytes.size() > limit)
            return ERROR_FILE_TOO_LARGE;
        // Room for what the file said it holds, and one byte more to see its end.
        const std::uint64_t left = expected > bytes.size() ? expected - bytes.size() : 0;
        const auto room =
            std::size_t(std::min(largestPiece, std::max<std::uint64_t>(left + 1, pieceSize)));
        FileBytes::Piece piece(static_cast<char*>(LocalAlloc(LMEM_FIXED, room)));
        if (!piece)
            return ERROR_NOT_ENOUGH_MEMORY;
        std::size_t used = 0;
        bool end = false;
        while (used < room) {
            DWORD got = 0;
            const DWORD asked = DWORD(std::min<std::size_t>(room - used, pieceSize));
            if (!ReadFile(file, piece.get() + used, asked, &got, nullptr))
                return GetLastError();
            used += got;
            if (got == 0) {
                end = true;
                break;
            }
        }
        if (used > 0)
            bytes.add(std::move(piece), used);
        if (end)
            return ERROR_SUCCESS;
    }
}

// What an existing file to be written is: its final path, symbolic links resolved, where the
// new text goes (a temporary file beside a link could be on another volume, and would replace the
// link), and its number of names.
struct ExistingFile {
    std::wstring path;
    DWORD links = 1;
    bool someoneElses = false; // owned by another user, as far as can be told
};

DWORD finalPathOf(HANDLE file, std::wstring& path)
{
    path.assign(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, path.data(), DWORD(path.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= path.size()) {
        path.assign(length, L'\0');
        length = GetFinalPathNameByHandleW(file, path.data(), DWORD(path.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= path.size())
        return length == 0 ? GetLastError() : ERROR_INVALID_NAME;
    path.resize(length);
    return ERROR_SUCCESS;
}

// Looked at without reading or writing it. A device or a pipe is never replaced by a file:
// ERROR_BAD_FILE_TYPE.
DWORD lookAt(const std::wstring& name, ExistingFile& existing)
{
    HANDLE file =
        CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    BY_HANDLE_FILE_INFORMATION information{};
    DWORD error = GetFileType(file) == FILE_TYPE_DISK ? finalPathOf(file, existing.path)
                                                      : ERROR_BAD_FILE_TYPE;
    if (error == ERROR_SUCCESS && !GetFileInformationByHandle(file, &information))
        error = GetLastError();
    existing.links = information.nNumberOfLinks;
    // A file that cannot tell its owner counts as the user's, as every file did before owners
    // were looked at.
    existing.someoneElses = error == ERROR_SUCCESS && ownedByUser(existing.path) == false;
    if (!CloseHandle(file) && error == ERROR_SUCCESS)
        error = GetLastError();
    return error;
}

} // namespace

DWORD readWholeFile(const std::wstring& path, FileBytes& bytes, ULONGLONG limit)
{
    const std::wstring name = longPathForm(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    // A device or a pipe may never end, or wait for the other end, and hang the window.
    const DWORD error =
        GetFileType(file) == FILE_TYPE_DISK ? readAll(file, bytes, limit) : ERROR_BAD_FILE_TYPE;
    // Every byte is in hand by now: a failed close of a file only read loses nothing.
    CloseHandle(file);
    return error;
}

DWORD readWholeFile(HANDLE file, FileBytes& bytes, ULONGLONG limit)
{
    return readAll(file, bytes, limit);
}

DWORD readWholeFile(const std::wstring& path, std::string& bytes)
{
    FileBytes read;
    const DWORD error = readWholeFile(path, read);
    bytes.clear();
    for (std::size_t i = 0; i < read.pieceCount(); ++i)
        bytes += read.piece(i);
    return error;
}

DWORD writeWholeFile(const std::wstring& path, const BytePieces& pieces, HalfDone* left,
                     AsideFolder asideFolder)
{
    const std::wstring target = longPathForm(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return error;
        return writeThroughTemporary(target, pieces, false, left, {});
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ERROR_DIRECTORY;
    ExistingFile existing;
    const DWORD error = lookAt(target, existing);
    if (error != ERROR_SUCCESS)
        return error;
    // A read-only file stays untouched: replacing it by renaming would go around that protection.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return ERROR_ACCESS_DENIED;
    // A replacement would leave the file's other names with the previous text, and would make
    // someone else's file the user's own: only its owner may give it back.
    if (existing.links > 1 || (existing.someoneElses && fileWritable(existing.path)))
        return writeInPlace(existing.path, existing.path, pieces, left);
    return writeThroughTemporary(existing.path, pieces, true, left, asideFolder);
}

DWORD writeWholeFile(const std::wstring& path, std::string_view bytes)
{
    return writeWholeFile(path, [&bytes](char* out, std::size_t room) {
        const std::size_t count = bytes.copy(out, room);
        bytes.remove_prefix(count);
        return count;
    });
}

bool nameIsText(const std::wstring& name)
{
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto unit = std::uint32_t(name[i]);
        if (isHighSurrogate(unit) && i + 1 < name.size() && isLowSurrogate(name[i + 1]))
            ++i;
        else if (isHighSurrogate(unit) || isLowSurrogate(unit))
            return false;
    }
    return true;
}

bool fileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(longPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
