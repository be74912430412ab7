// Reads a stretch of the edit control's text without the rest of it: the lines it lies on, each
// from its start, through EM_GETLINE. An edit near the caret costs the characters of its line up
// to the caret, at any size of document. A long stretch near the start of the text, one on a
// line longer than EM_GETLINE gives, or one across a line break that is not CR LF, is cut from
// one copy of the text up to its end instead.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <string>

// The count characters from start (both within the text); false when there was no memory for
// them.
bool readText(HWND edit, std::size_t start, std::size_t count, std::wstring& text);
