// How large a text the editor takes: window-text lengths are ints, and a 32-bit process holds a
// document in an address space of 2 GiB.
#pragma once

#include "platform/win32.h"
#include "ui/text_size.h"

#include <cstddef>
#include <string>

// What a process of this build can hold while it opens and saves a text: a 32-bit process has
// 2 GiB of address space, of which the program, the system's libraries, stacks and the gaps
// between them leave about 1.5 GiB to count on. A 64-bit process is bound by the text limit
// alone.
struct MemoryModel {
    std::size_t pointerSize = sizeof(void*);
    std::size_t characterSize = sizeof(WCHAR);
};

// Whether a file of fileBytes whose text has characters characters can be opened: its bytes, the
// text in the edit control and the copy of it that Save takes are held at the same time.
bool textFits(ULONGLONG fileBytes, ULONGLONG characters, MemoryModel model = {});

// The largest file that can fit at all (a text of as many characters as bytes, and no encoding
// takes more than four bytes to a character), so Open need not read a file only to refuse it.
ULONGLONG largestOpenableFile(MemoryModel model = {});

// What the user reads when a file is too large: its size and the limit, in plain words.
std::wstring tooLargeToOpen(const std::wstring& path, ULONGLONG fileBytes, ULONGLONG characters,
                            MemoryModel model = {});

// What the user reads when the edit control took only part of a file's text.
std::wstring textCutShort(const std::wstring& path);
