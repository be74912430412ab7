// Conversion between the Windows text of a multi-line edit control and the text its Qt view holds.
#include "platform/qt/line_breaks_p.h"

namespace platform::lineBreaks {

namespace {

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool hasQtMeaning(wchar_t c)
{
    return c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC;
}

void appendUnit(std::u16string& out, wchar_t c)
{
    if (c > 0xFFFF && c <= 0x10FFFF) {
        const auto v = char32_t(c) - 0x10000;
        out.push_back(char16_t(0xD800 + (v >> 10)));
        out.push_back(char16_t(0xDC00 + (v & 0x3FF)));
    } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        out.push_back(replacement);
    } else {
        out.push_back(hasQtMeaning(c) ? replacement : char16_t(c));
    }
}

// Length in Windows units of the view character starting at i, and its width in view units.
void stepView(const std::u16string& view, size_t i, long& windowsUnits, size_t& viewUnits)
{
    const char16_t unit = view[i];
    if (unit == paragraph) {
        windowsUnits = 2;
        viewUnits = 1;
    } else if (isHighSurrogate(unit) && i + 1 < view.size() && isLowSurrogate(view[i + 1])) {
        windowsUnits = 1;
        viewUnits = 2;
    } else {
        windowsUnits = 1;
        viewUnits = 1;
    }
}

} // namespace

std::u16string viewText(const std::wstring& text)
{
    std::u16string view;
    view.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            view.push_back(paragraph);
            ++i;
        } else if (c == L'\r') {
            view.push_back(loneCr);
        } else if (c == L'\n') {
            view.push_back(loneLf);
        } else {
            appendUnit(view, c);
        }
    }
    return view;
}

namespace {

// Hands each Windows unit of the view text to put, in order, until put returns false.
template <typename Put>
void forEachWindowsUnit(std::u16string_view view, Put&& put)
{
    for (size_t i = 0; i < view.size(); ++i) {
        const char16_t unit = view[i];
        bool more;
        if (unit == paragraph) {
            more = put(L'\r') && put(L'\n');
        } else if (unit == loneCr) {
            more = put(L'\r');
        } else if (unit == loneLf) {
            more = put(L'\n');
        } else if (isHighSurrogate(unit) && i + 1 < view.size() && isLowSurrogate(view[i + 1])) {
            more = put(wchar_t(0x10000 + ((unit - 0xD800) << 10) + (view[i + 1] - 0xDC00)));
            ++i;
        } else {
            more = put(wchar_t(unit));
        }
        if (!more)
            return;
    }
}

} // namespace

std::wstring windowsText(const std::u16string& view)
{
    std::wstring text;
    text.reserve(view.size() + view.size() / 32);
    forEachWindowsUnit(view, [&text](wchar_t c) {
        text.push_back(c);
        return true;
    });
    return text;
}

std::size_t copyWindowsText(std::u16string_view view, wchar_t* out, std::size_t capacity)
{
    std::size_t count = 0;
    if (capacity == 0)
        return 0;
    forEachWindowsUnit(view, [&](wchar_t c) {
        out[count++] = c;
        return count < capacity;
    });
    return count;
}

long windowsOffset(const std::u16string& view, long position)
{
    long offset = 0;
    size_t i = 0;
    while (i < view.size() && long(i) < position) {
        long windowsUnits;
        size_t viewUnits;
        stepView(view, i, windowsUnits, viewUnits);
        offset += windowsUnits;
        i += viewUnits;
    }
    return offset;
}

long viewPosition(const std::u16string& view, long offset)
{
    long reached = 0;
    size_t i = 0;
    while (i < view.size()) {
        long windowsUnits;
        size_t viewUnits;
        stepView(view, i, windowsUnits, viewUnits);
        if (reached + windowsUnits > offset)
            break;
        reached += windowsUnits;
        i += viewUnits;
    }
    return long(i);
}

std::u16string normalizedInput(const std::u16string& text)
{
    std::u16string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        result.push_back(unit == u'\r' || unit == u'\n' ? paragraph : unit);
    }
    return result;
}

} // namespace platform::lineBreaks
