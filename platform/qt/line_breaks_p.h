// The multi-line edit control's two texts: the Windows text (what WM_GETTEXT returns, CR LF
// between lines, positions in wchar_t) and the view text that Qt holds (UTF-16, one U+2029
// paragraph separator per line break). Pure functions, so the mapping can be tested and fuzzed
// without a widget.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::lineBreaks {

constexpr char16_t paragraph = 0x2029;
// Qt would turn a lone CR or LF into a line break; the view shows these stand-ins instead, so
// the text comes back exactly as it was set. A typed stand-in therefore reads back as CR or LF.
constexpr char16_t loneCr = 0xE00D;
constexpr char16_t loneLf = 0xE00A;
// Characters that Qt's document gives a meaning of its own (block and frame marks).
constexpr char16_t replacement = 0xFFFD;

std::u16string viewText(const std::wstring& windowsText);
std::wstring windowsText(const std::u16string& viewText);
// Writes the first units of the Windows text straight into out, at most capacity of them, and
// returns how many; a reader of a large text needs no whole copy in between.
std::size_t copyWindowsText(std::u16string_view viewText, wchar_t* out, std::size_t capacity);

// Positions: a view position between the CR and LF of a pair maps to the end of the line.
long windowsOffset(const std::u16string& viewText, long viewPosition);
long viewPosition(const std::u16string& viewText, long windowsOffset);

// Text that comes from outside (paste, drop): every kind of line end becomes a line break.
std::u16string normalizedInput(const std::u16string& text);

} // namespace platform::lineBreaks
