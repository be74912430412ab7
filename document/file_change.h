// Noticing that another program changed the document's file since it was opened or saved, so
// that Save never writes over that change without asking.
#pragma once

#include "platform/win32.h"

#include <string>

// What tells one state of a file from another: where it lives (volume and file index, which a
// replacement by rename changes), its size and its last-write time. Time alone misses a change
// within a file system's time resolution; size and index catch most of those.
struct FileIdentity {
    bool known = false; // false: there was no file, or it could not be looked at
    DWORD volume = 0;
    ULONGLONG index = 0;
    ULONGLONG size = 0;
    ULONGLONG writeTime = 0; // FILETIME ticks

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

FileIdentity identityOf(const std::wstring& path);

// Before Save writes the document's file: when a file is there that is not the one the document
// last knew, asks whether to replace it. True when Save may go on.
bool mayReplaceFile(HWND window);
