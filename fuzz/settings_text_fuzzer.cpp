// The settings reader and writer: any bytes read without harm into a choice the writer can
// store, and what the writer stores reads back as the same choice.
#include "format/settings_text.h"
#include "fuzz/check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const FontChoice startUp = {14, 0, false, L"Courier New"};

bool same(const FontChoice& a, const FontChoice& b)
{
    return a.size == b.size && a.weight == b.weight && a.italic == b.italic && a.family == b.family;
}

FontChoice readBack(const FontChoice& choice)
{
    FontChoice back = {-1, -1, !choice.italic, L"?"};
    readSettingsText(settingsText(choice.size, choice.weight, choice.italic, choice.family.c_str()),
                     back);
    return back;
}

// Every key is looked for anywhere in every line, so a family that holds a key's name also sets
// that key when it is read back: it cannot survive the round trip, whoever writes it.
bool holdsAKeyName(const std::wstring& family)
{
    for (const wchar_t* key : {L"fontSize", L"fontWeight", L"fontItalic"}) {
        if (family.find(key) != std::wstring::npos)
            return true;
    }
    return false;
}

// A file of any bytes gives a choice whose family the file could hold: one byte per character,
// no zero, no line end, no Ctrl+Z. Writing that choice and reading it again gives it back.
void checkAnyFile(std::string_view bytes)
{
    FontChoice choice = startUp;
    readSettingsText(bytes, choice);
    for (wchar_t c : choice.family)
        require(c > 0 && c <= 0xFF && c != L'\n' && c != 0x1A, "a read family can be written");
    if (!holdsAKeyName(choice.family))
        require(same(readBack(choice), choice), "a read choice written and read again");
}

// A choice as the Format text window makes it: any numbers, either style, and a family of the
// list or any name of the characters a family line can hold.
void checkMadeChoice(FuzzedDataProvider& input)
{
    FontChoice choice;
    choice.size = input.ConsumeIntegral<int>();
    choice.weight = input.ConsumeIntegral<int>();
    choice.italic = input.ConsumeBool();
    const wchar_t* offered[] = {L"Arial", L"Courier New", L"Times New Roman"};
    const std::string name = input.ConsumeRandomLengthString(64);
    for (char byte : name) {
        if (byte != 0 && byte != '\n' && byte != 0x1A)
            choice.family += wchar_t(static_cast<unsigned char>(byte));
    }
    if (input.ConsumeBool())
        choice.family = offered[input.ConsumeIntegralInRange(0, 2)];
    if (!holdsAKeyName(choice.family))
        require(same(readBack(choice), choice), "a choice written and read again");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkAnyFile(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider input(data, size);
    checkMadeChoice(input);
    return 0;
}
