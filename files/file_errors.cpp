// The words for file failures: each Win32 error a file call can give, said plainly.
#include "files/file_errors.h"

#include "encoding/text_units.h"

namespace {

std::wstring reasonOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return L"The file does not exist.";
    case ERROR_PATH_NOT_FOUND:
        return L"The folder does not exist.";
    case ERROR_ACCESS_DENIED:
        return L"Access was denied: the file or its folder is read-only, or you lack the "
               L"permission.";
    case ERROR_WRITE_PROTECT:
        return L"The disk is write-protected.";
    case ERROR_SHARING_VIOLATION:
        return L"Another program is using the file.";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return L"The disk is full.";
    case ERROR_INVALID_NAME:
        return L"The name is not valid.";
    case ERROR_FILENAME_EXCED_RANGE:
        return L"The path or the name is too long.";
    case ERROR_DIRECTORY:
        return L"There is a folder of that name.";
    case ERROR_NO_UNICODE_TRANSLATION:
        return L"Its name is not valid text (shown with \uFFFD where a byte is no character), so "
               L"the editor could not show it or save it back under that name. Rename the file "
               L"to open it.";
    case ERROR_BAD_FILE_TYPE:
        return L"It is a device or a pipe, not a file: only files are opened and saved.";
    case ERROR_NOT_ENOUGH_MEMORY:
        return L"There is not enough memory.";
    case ERROR_TOO_MANY_OPEN_FILES:
        return L"Too many files are open.";
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        return L"The old file could not be replaced by the new one.";
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        return L"The disk or device reported an error.";
    default:
        return L"The system reported error " + std::to_wstring(error) + L".";
    }
}

} // namespace

std::wstring quoted(const std::wstring& path)
{
    // A unit that is half of a character shows as the replacement character.
    std::wstring shown = path;
    if (!nameIsText(shown)) {
        for (wchar_t& unit : shown) {
            if (isHighSurrogate(unit) || isLowSurrogate(unit))
                unit = L'\uFFFD';
        }
    }
    return L"\u201C" + shown + L"\u201D";
}

std::wstring openFailure(const std::wstring& path, DWORD error)
{
    return L"Could not open " + quoted(path) + L".\n\n" + reasonOf(error) +
           L"\n\nThe current document was kept as it was.";
}

std::wstring saveFailure(const std::wstring& path, DWORD error)
{
    return L"Could not save " + quoted(path) + L".\n\n" + reasonOf(error) +
           L"\n\nThe file was not changed; your text is still here, unsaved.";
}

std::wstring saveFailure(const std::wstring& path, DWORD error, const HalfDone& left)
{
    if (!left.strays())
        return saveFailure(path, error);
    std::wstring previous =
        left.previous.empty()
            ? L"The system removed " + quoted(path) + L" and its previous text is lost."
            : L"The file's previous text is in " + quoted(left.previous) +
                  L"; it could not be put back.";
    const std::wstring yours = left.written.empty()
                                   ? L" " + quoted(path) + L" may hold only part of your text."
                                   : L" Your text is in " + quoted(left.written) + L".";
    return L"Could not save " + quoted(path) + L".\n\n" + reasonOf(error) + L"\n\n" + previous +
           yours + L" Your text is still here too, unsaved.";
}
