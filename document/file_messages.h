// What the user reads when a file cannot be opened or saved: the file, the reason in plain
// words, and what became of the text.
#pragma once

#include "document/text_format.h"
#include "platform/win32.h"

#include <cstddef>
#include <string>
#include <string_view>

std::wstring openFailure(const std::wstring& path, DWORD error);
std::wstring saveFailure(const std::wstring& path, DWORD error);
// The questions before a save that would otherwise lose a character or change line ends.
std::wstring unstorableCharacter(const std::wstring& path, std::wstring_view text,
                                 std::size_t offset, Encoding encoding, Encoding instead);
std::wstring mixedLineEndsNotice(const std::wstring& path, const LineEndCounts& counts,
                                 LineEnd lineEnd);
std::wstring zeroBytesLeftOut(const std::wstring& path, std::size_t count);
std::wstring dialogFailure(DWORD dialogError);

// Shows the text in a box owned by the window, with the product's name as caption.
void tellUser(HWND window, const std::wstring& text, UINT icon);
