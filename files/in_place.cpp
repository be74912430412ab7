// Writing a file over its own bytes, after a full copy is set aside: for a file that must stay
// the same file.
#include "files/write_steps.h"

namespace {

// Writes pieces as the file's whole contents through one handle: over an existing file's bytes
// in place (TRUNCATE_EXISTING), so every name of it shows them, or into a new file (CREATE_NEW).
DWORD writeThrough(const std::wstring& name, DWORD disposition, SECURITY_ATTRIBUTES* security,
                   const BytePieces& pieces)
{
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, security, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD error = writeAll(file, pieces);
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file))
        error = GetLastError();
    if (!CloseHandle(file) && error == ERROR_SUCCESS)
        error = GetLastError();
    return error;
}

DWORD copyFile(const std::wstring& from, const std::wstring& to, DWORD disposition,
               SECURITY_ATTRIBUTES* security)
{
    HANDLE source = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD readError = ERROR_SUCCESS;
    const DWORD error = writeThrough(to, disposition, security, [&](char* out, std::size_t room) {
        DWORD got = 0;
        if (ReadFile(source, out, DWORD(room), &got, nullptr))
            return std::size_t(got);
        readError = GetLastError();
        return stopWriting;
    });
    CloseHandle(source);
    return readError != ERROR_SUCCESS ? readError : error;
}

// A full copy of the file set aside under a free name of the aside form: CREATE_NEW never meets
// another save's copy.
DWORD setAside(const std::wstring& file, const std::wstring& besideOf, std::wstring& aside)
{
    OwnerOnly ownerOnly;
    if (!ownerOnly.made())
        return GetLastError();
    for (int attempt = 1; attempt <= 100; ++attempt) {
        aside = backupPathFor(besideOf, attempt);
        const DWORD error = copyFile(file, aside, CREATE_NEW, ownerOnly.attributes());
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            if (error != ERROR_SUCCESS)
                DeleteFileW(aside.c_str());
            return error;
        }
    }
    return ERROR_FILE_EXISTS;
}

} // namespace

DWORD writeInPlace(const std::wstring& target, const std::wstring& besideOf,
                   const BytePieces& pieces, HalfDone* left)
{
    std::wstring aside;
    DWORD error = setAside(target, besideOf, aside);
    if (error != ERROR_SUCCESS)
        return error;
    error = writeThrough(target, TRUNCATE_EXISTING, nullptr, pieces);
    if (error == ERROR_SUCCESS) {
        DeleteFileW(aside.c_str());
        return error;
    }
    const bool putBack = copyFile(aside, target, TRUNCATE_EXISTING, nullptr) == ERROR_SUCCESS;
    if (putBack)
        DeleteFileW(aside.c_str());
    if (left)
        *left = {putBack ? std::wstring() : aside, {}, putBack};
    return error;
}

bool fileWritable(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}
