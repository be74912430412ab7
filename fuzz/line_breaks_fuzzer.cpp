// The multi-line edit control's two texts: random texts, edits and positions checked against a
// simple model of the Windows text (CR LF between lines, one wchar_t per character) and the view
// text Qt holds (one paragraph separator per CR LF, UTF-16).
#include "fuzz/check.h"
#include "platform/qt/line_breaks_p.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace platform::lineBreaks;

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

// Characters the layer cannot keep as they are: its own stand-ins, the marks Qt's document gives a
// meaning, and values that are no character (surrogates, beyond U+10FFFF).
bool isStandIn(char32_t c)
{
    return c == loneCr || c == loneLf || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC;
}

bool isNoCharacter(char32_t c)
{
    return (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF;
}

// A text that is mostly line ends and letters, with the characters the mapping treats apart.
std::wstring randomText(FuzzedDataProvider& input, std::size_t maxLength)
{
    static constexpr char32_t pick[] = {
        L'\r', L'\n', L'\r', L'\n', L'a', L'b', L' ', 0xE9, 0x20AC, 0x1F600, 0x10FFFF,
        loneCr, loneLf, 0x2029, 0xFDD0, 0xFDD1, 0xFFFC, 0xFFFD, 0xD800, 0xDC00, 0x110000,
    };
    constexpr std::size_t plain = 11; // the first ones the layer keeps as they are
    const bool strange = input.ConsumeBool();
    std::wstring text;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        const std::size_t last = strange ? std::size(pick) - 1 : plain - 1;
        text += wchar_t(pick[input.ConsumeIntegralInRange<std::size_t>(0, last)]);
    }
    return text;
}

// What the control gives back for a text it was given: each stand-in reads as the CR or LF it
// stands for, every other character the layer cannot keep as U+FFFD.
std::wstring expectedBack(const std::wstring& text)
{
    std::wstring back;
    for (wchar_t c : text) {
        const auto value = char32_t(c);
        if (value == loneCr || value == loneLf)
            back += value == loneCr ? L'\r' : L'\n';
        else
            back += isStandIn(value) || isNoCharacter(value) ? wchar_t(replacementCharacter) : c;
    }
    return back;
}

bool insideSurrogatePair(const std::u16string& view, std::size_t position)
{
    return position > 0 && position < view.size() && view[position - 1] >= 0xD800 &&
           view[position - 1] <= 0xDBFF && view[position] >= 0xDC00 && view[position] <= 0xDFFF;
}

void checkView(const std::u16string& view)
{
    for (std::size_t i = 0; i < view.size(); ++i) {
        const char16_t unit = view[i];
        require(unit != u'\r' && unit != u'\n', "no CR or LF that Qt would take as a line end");
        require(unit != 0xFDD0 && unit != 0xFDD1 && unit != 0xFFFC, "no mark of Qt's own");
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        require(!high || (i + 1 < view.size() && view[i + 1] >= 0xDC00 && view[i + 1] <= 0xDFFF),
                "a high surrogate begins a pair");
        require(!low || insideSurrogatePair(view, i), "a low surrogate ends a pair");
    }
}

// Positions at every boundary map exactly; an offset between a CR and its LF maps to the line
// end, a position inside a surrogate pair to a boundary of that character; out of range clamps.
void checkPositions(const std::u16string& view)
{
    const long length = long(windowsText(view).size());
    // The model: the Windows offset of a view position is the length of the Windows text before
    // it, summed here one character at a time.
    long model = 0;
    std::size_t boundary = 0;
    for (std::size_t position = 0; position <= view.size(); ++position) {
        const long offset = windowsOffset(view, long(position));
        if (insideSurrogatePair(view, position)) {
            require(offset == model || offset == model + 1, "inside a pair, next to the character");
            continue;
        }
        model += long(windowsText(view.substr(boundary, position - boundary)).size());
        boundary = position;
        require(offset == model, "the Windows offset of a view position");
        require(viewPosition(view, offset) == long(position), "and back to the same position");
        if (position > 0 && view[position - 1] == paragraph)
            require(viewPosition(view, offset - 1) == long(position - 1),
                    "between CR and LF is the line end");
    }
    require(windowsOffset(view, long(view.size()) + 5) == length, "beyond the end clamps");
    require(windowsOffset(view, -3) == 0, "before the start clamps");
    require(viewPosition(view, length + 5) == long(view.size()), "an offset beyond the end");
    require(viewPosition(view, -3) == 0, "a negative offset");
}

// An edit as the control makes one: a selection in Windows offsets, replaced in the view by the
// view text of the new characters. The Windows text must change the same way.
void checkEdit(std::u16string& view, std::wstring& model, FuzzedDataProvider& input)
{
    const long length = long(model.size());
    long start = input.ConsumeIntegralInRange<long>(-1, length + 1);
    long end = input.ConsumeIntegralInRange<long>(-1, length + 1);
    if (start > end)
        std::swap(start, end);
    const long from = viewPosition(view, start);
    const long to = viewPosition(view, end);
    const long snappedStart = windowsOffset(view, from);
    const long snappedEnd = windowsOffset(view, to);
    require(snappedStart <= std::max(0L, std::min(start, length)), "a start snaps back");
    require(snappedEnd <= std::max(0L, std::min(end, length)), "an end snaps back");
    const std::wstring inserted = randomText(input, 8);
    view.replace(std::size_t(from), std::size_t(to - from), viewText(inserted));
    model.replace(std::size_t(snappedStart), std::size_t(snappedEnd - snappedStart),
                  expectedBack(inserted));
    require(windowsText(view) == model, "an edit changes the Windows text as the model");
}

// Text as the clipboard holds it: UTF-16 with its CR and LF as they are.
std::u16string utf16Of(const std::wstring& text)
{
    std::u16string units;
    for (wchar_t c : text) {
        const auto value = char32_t(c);
        if (value > 0xFFFF && value <= 0x10FFFF) {
            units += char16_t(0xD800 + ((value - 0x10000) >> 10));
            units += char16_t(0xDC00 + ((value - 0x10000) & 0x3FF));
        } else {
            units += char16_t(value);
        }
    }
    return units;
}

void checkNormalizedInput(const std::u16string& pasted)
{
    const std::u16string text = normalizedInput(pasted);
    std::size_t lineEnds = 0;
    for (std::size_t i = 0; i < pasted.size(); ++i) {
        const bool pair = pasted[i] == u'\r' && i + 1 < pasted.size() && pasted[i + 1] == u'\n';
        lineEnds += pasted[i] == paragraph || pasted[i] == u'\n' || (pasted[i] == u'\r' && !pair);
    }
    std::size_t paragraphs = 0;
    for (char16_t unit : text) {
        require(unit != u'\r' && unit != u'\n', "pasted line ends become line breaks");
        paragraphs += unit == paragraph;
    }
    require(paragraphs == lineEnds, "one line break per pasted line end");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    std::wstring model = randomText(input, 120);
    std::u16string view = viewText(model);
    checkView(view);
    model = expectedBack(model);
    require(windowsText(view) == model, "the text comes back as it was set");
    checkPositions(view);
    // The edits map their selections through the positions, so the model check of each edit
    // covers the mapping on the way; every position is checked again on the final text.
    for (int edit = 0; edit < 8 && input.remaining_bytes() > 0; ++edit) {
        checkEdit(view, model, input);
        checkView(view);
    }
    checkPositions(view);
    checkNormalizedInput(utf16Of(randomText(input, 50)));
    return 0;
}
