// What the user reads when a file cannot be opened or saved: the file, the reason in plain words,
// and what became of the text.
#pragma once

#include "files/file_io.h"
#include "platform/win32.h"

#include <string>

std::wstring openFailure(const std::wstring& path, DWORD error);
std::wstring saveFailure(const std::wstring& path, DWORD error);
// A save that failed half-way, leaving texts under other names (see HalfDone).
std::wstring saveFailure(const std::wstring& path, DWORD error, const HalfDone& left);

// A path or a piece of text in quotation marks, as the messages show it.
std::wstring quoted(const std::wstring& text);
