// The questions and notices about a document's text that Open and Save give, and the words for
// a file dialog that failed.
#pragma once

#include "encoding/text_format.h"
#include "platform/win32.h"

#include <cstddef>
#include <string>
#include <string_view>

// The questions before a save that would otherwise lose a character or change line ends.
std::wstring unstorableCharacter(const std::wstring& path, std::wstring_view text,
                                 std::size_t offset, Encoding encoding, Encoding instead);
std::wstring mixedLineEndsNotice(const std::wstring& path, const LineEndCounts& counts,
                                 LineEnd lineEnd);
// The same with each line's end noted: keeping them as they are comes first.
std::wstring mixedLineEndsQuestion(const std::wstring& path, const LineEndCounts& counts,
                                   LineEnd lineEnd);
std::wstring zeroBytesLeftOut(const std::wstring& path, std::size_t count);
std::wstring dialogFailure(DWORD dialogError);
