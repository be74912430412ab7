// How large a text the editor takes, and the words for a file that is larger.
#include "ui/text_limits.h"

namespace {

constexpr ULONGLONG usableAddressSpace32 = 3ULL << 29; // 1.5 GiB
constexpr ULONGLONG maxBytesPerCharacter = 4;

bool wide(MemoryModel model)
{
    return model.pointerSize >= 8;
}

// Bytes held while a text is open: the file's bytes while it is read, and the text twice, in the
// control and in Save's copy.
ULONGLONG bytesHeld(ULONGLONG fileBytes, ULONGLONG characters, MemoryModel model)
{
    return fileBytes + 2 * characters * model.characterSize;
}

// 1234567 as "1,234,567".
std::wstring grouped(ULONGLONG number)
{
    std::wstring digits = std::to_wstring(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, L',');
    return digits;
}

} // namespace

bool textFits(ULONGLONG fileBytes, ULONGLONG characters, MemoryModel model)
{
    if (characters > maxTextLength)
        return false;
    return wide(model) || bytesHeld(fileBytes, characters, model) <= usableAddressSpace32;
}

ULONGLONG largestOpenableFile(MemoryModel model)
{
    if (wide(model))
        return maxTextLength * maxBytesPerCharacter;
    return usableAddressSpace32 / bytesHeld(1, 1, model);
}

std::wstring tooLargeToOpen(const std::wstring& path, ULONGLONG fileBytes, ULONGLONG characters,
                            MemoryModel model)
{
    std::wstring text = L"Could not open \u201C" + path + L"\u201D.\n\n";
    if (characters > maxTextLength) {
        text += L"Its text has " + grouped(characters) +
                L" characters; the editor holds texts of up to " + grouped(maxTextLength) +
                L" characters.";
    } else if (wide(model)) {
        text += L"The file is " + grouped(fileBytes) + L" bytes; the editor holds texts of up to " +
                grouped(maxTextLength) + L" characters, and a file this large holds more.";
    } else {
        text += L"The file is " + grouped(fileBytes) + L" bytes";
        if (characters)
            text += L" and its text " + grouped(characters) + L" characters";
        text += L"; this 32-bit program has room for files of up to about " +
                grouped(largestOpenableFile(model)) + L" bytes of plain text.";
    }
    return text + L"\n\nThe current document was kept as it was.";
}

std::wstring textCutShort(const std::wstring& path)
{
    return L"Could not open \u201C" + path +
           L"\u201D.\n\nThere was not enough memory to hold its whole text, so none of it was "
           L"kept: a part could replace the file by accident. The file was not changed.";
}
