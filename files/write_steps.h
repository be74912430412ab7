// The steps of writing a file that writeWholeFile takes, shared by the files that hold them:
// for files/ only.
#pragma once

#include "files/file_io.h"
#include "platform/win32.h"

#include <string>

// The folder part of a path, with its separator; empty for a bare name.
std::wstring folderPartOf(const std::wstring& path);

// Writes the pieces to the open file until they end. ERROR_SUCCESS or the Win32 error.
DWORD writeAll(HANDLE file, const BytePieces& pieces);

// The new text of an existing file is for its owner alone until it takes the file's place, and
// with it the file's permissions: the folder's might let everyone read it meanwhile.
class OwnerOnly {
public:
    OwnerOnly();
    ~OwnerOnly();
    OwnerOnly(const OwnerOnly&) = delete;
    OwnerOnly& operator=(const OwnerOnly&) = delete;
    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }
    bool made() const { return attributes_.lpSecurityDescriptor != nullptr; }

private:
    SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

// The new text through a temporary file beside the target, which then takes the target's place
// (replacing: ReplaceFileW, else MoveFileExW). With an aside folder, a target in a folder the
// user may not write is written in place instead.
DWORD writeThroughTemporary(const std::wstring& target, const BytePieces& pieces, bool replacing,
                            HalfDone* left, AsideFolder asideFolder);

// The new text written over the file's own bytes, for a file that must stay the same file. A
// full copy set aside first, beside besideOf, puts the previous text back after a failure;
// should that fail too, left names the copy.
DWORD writeInPlace(const std::wstring& target, const std::wstring& besideOf,
                   const BytePieces& pieces, HalfDone* left);
// Whether the user may write the file.
bool fileWritable(const std::wstring& path);
