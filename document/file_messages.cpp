// The questions and notices about a document's text that Open and Save give.
#include "document/file_messages.h"

#include "encoding/text_units.h"
#include "encoding/text_writer.h"
#include "files/file_errors.h"

#include <cstdio>

std::wstring unstorableCharacter(const std::wstring& path, std::wstring_view text,
                                 std::size_t offset, Encoding encoding, Encoding instead)
{
    const char32_t character = codePointAt(text, offset);
    const TextPlace place = placeOf(text, offset);
    wchar_t code[16];
    std::swprintf(code, 16, L"U+%04X", static_cast<unsigned>(character));
    // Half of a surrogate pair has no shape to show; its number says what it is.
    const bool half = isHighSurrogate(character) || isLowSurrogate(character);
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

std::wstring mixedLineEndsQuestion(const std::wstring& path, const LineEndCounts& counts,
                                   LineEnd lineEnd)
{
    return L"The file this text was read from mixes line ends: " + std::to_wstring(counts.crLf) +
           L" CR LF and " + std::to_wstring(counts.lf) + L" LF.\n\nKeep them as they are in " +
           quoted(path) +
           L"?\n\nYes keeps each line's end as the file has it. No saves with every "
           L"line end as " +
           nameOf(lineEnd) +
           L" (Format, Line ends chooses another form). Cancel saves nothing and keeps your text "
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
