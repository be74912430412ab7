// Telling one state of a file from another, so that Save notices a change another program made.
#pragma once

#include "platform/win32.h"

#include <string>

// What tells one state of a file from another: where it lives (volume and file index, which a
// replacement by rename changes), its size, its last-write time and its change time. Time alone
// misses a change within a file system's time resolution; size and index catch most of those.
// Any program can put the last-write time back (a copy that keeps times does); the change time
// is the system's own, set at every change.
struct FileIdentity {
    bool known = false; // false: there was no file, or it could not be looked at
    DWORD volume = 0;
    ULONGLONG index = 0;
    ULONGLONG size = 0;
    ULONGLONG writeTime = 0;  // FILETIME ticks
    ULONGLONG changeTime = 0; // FILETIME ticks; 0 when not known (a recovery copy's older header)

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

FileIdentity identityOf(const std::wstring& path);

// Whether the file now is in the state the document last knew; a change time not known then
// does not count.
bool sameState(const FileIdentity& known, const FileIdentity& now);
