// The words for file failures: each Win32 error a file call can give, said plainly.
#include "document/file_messages.h"

#include "app/globals.h"
#include "document/text_writer.h"

#include <cstdio>

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
    case ERROR_NOT_ENOUGH_MEMORY:
        return L"There is not enough memory.";
    case ERROR_TOO_MANY_OPEN_FILES:
        return L"Too many files are open.";
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        return L"The old file could not be replaced by the new one.";
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        return L"The disk or device reported an error.";
    default:
        return L"The system reported error " + std::to_wstring(error) + L".";
    }
}

std::wstring quoted(const std::wstring& path)
{
    return L"\u201C" + path + L"\u201D";
}

} // namespace

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

std::wstring unstorableCharacter(const std::wstring& path, std::wstring_view text,
                                 std::size_t offset, Encoding encoding, Encoding instead)
{
    const char32_t character = codePointAt(text, offset);
    const TextPlace place = placeOf(text, offset);
    wchar_t code[16];
    std::swprintf(code, 16, L"U+%04X", static_cast<unsigned>(character));
    // Half of a surrogate pair has no shape to show; its number says what it is.
    const bool half = character >= 0xD800 && character <= 0xDFFF;
    // A character that differs from its unit was joined from a pair of them.
    const std::size_t units = std::uint32_t(text[offset]) == character ? 1 : 2;
    const std::wstring shown =
        half ? code : quoted(std::wstring(text.substr(offset, units))) + L" (" + code + L")";
    return L"The character " + shown + L" at line " + std::to_wstring(place.line) + L", column " +
           std::to_wstring(place.column) + L" cannot be stored in " + nameOf(encoding) +
           L" text.\n\nSave " + quoted(path) + L" as " + nameOf(instead) +
           L" instead? No saves nothing and keeps your text here, unsaved.";
}

std::wstring mixedLineEndsNotice(const std::wstring& path, const LineEndCounts& counts,
                                 LineEnd lineEnd)
{
    return L"The file this text was read from mixes line ends: " + std::to_wstring(counts.crLf) +
           L" CR LF and " + std::to_wstring(counts.lf) + L" LF.\n\nSave " + quoted(path) +
           L" with every line end as " + nameOf(lineEnd) +
           L"? (Format, Line ends chooses another form.) No saves nothing and keeps your text "
           L"here, unsaved.";
}

std::wstring zeroBytesLeftOut(const std::wstring& path, std::size_t count)
{
    const std::wstring bytes =
        count == 1 ? L"1 zero byte" : std::to_wstring(count) + L" zero bytes";
    return quoted(path) + L" holds " + bytes +
           L", which the editor cannot show, so they were left out.\n\nThe text opens as a new, "
           L"unsaved document: saving it asks for a name, so the file cannot be replaced by the "
           L"shortened text by accident.";
}

std::wstring dialogFailure(DWORD dialogError)
{
    if (dialogError == FNERR_BUFFERTOOSMALL)
        return L"The chosen path is too long.";
    if (dialogError == FNERR_INVALIDFILENAME)
        return L"The chosen name is not valid.";
    return L"The file dialog could not be shown (error " + std::to_wstring(dialogError) + L").";
}

void tellUser(HWND window, const std::wstring& text, UINT icon)
{
    MessageBoxW(window, text.c_str(), productName.c_str(), MB_OK | icon);
}
