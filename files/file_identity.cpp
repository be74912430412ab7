// Looking at a file's identity without disturbing any other program that uses it.
#include "files/file_identity.h"

#include "files/file_io.h"

FileIdentity identityOf(const std::wstring& path)
{
    // No access asked for and every kind of sharing allowed: looking disturbs no other program.
    HANDLE file = CreateFileW(longPathForm(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION information;
    FILE_BASIC_INFO basic;
    const bool read = GetFileInformationByHandle(file, &information) &&
                      GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic);
    CloseHandle(file);
    if (!read)
        return {};
    const auto join = [](DWORD high, DWORD low) { return (ULONGLONG(high) << 32) | low; };
    return {
        true,
        information.dwVolumeSerialNumber,
        join(information.nFileIndexHigh, information.nFileIndexLow),
        join(information.nFileSizeHigh, information.nFileSizeLow),
        join(information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime),
        ULONGLONG(basic.ChangeTime.QuadPart)};
}

bool sameState(const FileIdentity& known, const FileIdentity& now)
{
    FileIdentity compared = now;
    if (known.changeTime == 0)
        compared.changeTime = 0;
    return compared == known;
}
