// Telling one state of a file from another, so that Save notices a change another program made.
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
