// Noticing that another program changed the document's file since it was opened or saved.
#include "document/file_change.h"

#include "app/globals.h"
#include "document/file_io.h"
#include "document/title.h"

FileIdentity identityOf(const std::wstring& path)
{
    // No access asked for and every kind of sharing allowed: looking disturbs no other program.
    HANDLE file = CreateFileW(longPathForm(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION information;
    const bool read = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    if (!read)
        return {};
    const auto join = [](DWORD high, DWORD low) { return (ULONGLONG(high) << 32) | low; };
    return {true, information.dwVolumeSerialNumber,
            join(information.nFileIndexHigh, information.nFileIndexLow),
            join(information.nFileSizeHigh, information.nFileSizeLow),
            join(information.ftLastWriteTime.dwHighDateTime,
                 information.ftLastWriteTime.dwLowDateTime)};
}

bool mayReplaceFile(HWND window)
{
    // A file that has gone can be written again: no other program's text is lost by that.
    const FileIdentity now = identityOf(filePath);
    if (!now.known || now == fileIdentity)
        return true;
    const std::wstring question =
        fileNameOf(filePath) +
        L" was changed by another program since you opened it. Replace it with your text?";
    MessageBeep(MB_ICONEXCLAMATION);
    return MessageBoxW(window, question.c_str(), productName.c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}
