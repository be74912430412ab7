// Reading a whole file and replacing one safely, through the platform's file calls.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The name made a full path against the current folder: the dialogs hand over full paths, and a
// name relative to the current folder must become one too, or a later dialog that changes the
// folder would send Save to another file. Returns ERROR_SUCCESS or the Win32 error.
DWORD fullPathOf(const std::wstring& name, std::wstring& path);

// The part of the path after its last '/' or '\'; the whole path when it has neither.
std::wstring fileNameOf(const std::wstring& path);

// The form of a path that Windows takes at any length: with the \\?\ prefix from MAX_PATH on.
std::wstring longPathForm(const std::wstring& path);

// The temporary file of the attempt-th try to replace target: beside it, under a short name.
std::wstring temporaryPathFor(const std::wstring& target, int attempt);
// The name the replaced file takes while its replacement moves in: beside it too.
std::wstring backupPathFor(const std::wstring& target, int attempt);

// A file's bytes in pieces, none cleared before the file is read into it (clearing fresh memory
// cost as much as reading a large file), so that Open can let each piece go once the control
// holds its text: the file and its text then never exist whole side by side. The pieces are
// LocalAlloc blocks, which the system backs with large pages where it can: the first touch of
// small ones cost more than the reading itself.
class FileBytes {
public:
    struct FreeLocal {
        void operator()(char* piece) const { LocalFree(piece); }
    };
    using Piece = std::unique_ptr<char[], FreeLocal>;

    std::uint64_t size() const { return size_; }
    std::size_t pieceCount() const { return sizes_.size(); }
    std::string_view piece(std::size_t i) const { return {pieces_[i].get(), sizes_[i]}; }
    void release(std::size_t i) { pieces_[i].reset(); }
    void add(Piece piece, std::size_t size)
    {
        pieces_.push_back(std::move(piece));
        sizes_.push_back(size);
        size_ += size;
    }

private:
    std::vector<Piece> pieces_;
    std::vector<std::size_t> sizes_;
    std::uint64_t size_ = 0;
};

// Reads the whole file into bytes. Returns ERROR_SUCCESS or the Win32 error of the failing call;
// a folder gives ERROR_ACCESS_DENIED, as Windows refuses to open one as a file, and a file of
// more than limit bytes ERROR_FILE_TOO_LARGE. After a failure bytes may hold part of the file.
DWORD readWholeFile(const std::wstring& path, FileBytes& bytes, ULONGLONG limit = ~0ULL);
// The same from a file the caller opened, read from where it stands.
DWORD readWholeFile(HANDLE file, FileBytes& bytes, ULONGLONG limit = ~0ULL);
// The same for the editor's small files.
DWORD readWholeFile(const std::wstring& path, std::string& bytes);

// Hands out the bytes of a file being written, a piece at a time, so that a large text need not
// exist a second time as bytes: fills at most room bytes at out and returns how many, 0 at the end,
// or stopWriting when the file must not be written after all.
using BytePieces = std::function<std::size_t(char* out, std::size_t room)>;
constexpr std::size_t stopWriting = std::size_t(-1);

// What a save that failed after it began to change the file left behind. When the system failed
// half-way and the file could not be put back, where each text is: the file's previous text
// under another name, the new one under the temporary name (empty names: each text is where it
// was). Otherwise whether the file's previous text was put back, which leaves only its times
// changed.
struct HalfDone {
    std::wstring previous; // the file's text before the save, when the file's name lost it
    std::wstring written;  // the new text, kept on disk only under this name
    bool putBack = false;
    bool strays() const { return !previous.empty() || !written.empty(); }
};

// The folder a copy may be set aside in, asked for only when a copy is needed there: finding it
// may cost file calls of its own. Empty when there is none.
using AsideFolder = std::wstring (*)();

// Replaces the file's contents with bytes, or creates the file. The bytes go to a temporary file
// beside the file (the target of a symbolic link), flushed and closed before it takes the file's
// place, so a failure at any step leaves the file as it was and the temporary file is removed
// again. A file of several names, or one in a folder the user may not write (with an aside
// folder given), is written in place after a full copy is set aside (beside it, or in the aside
// folder), which puts it back after a failure. When the system failed half-way and the file could
// not be put back, left says where each text is and nothing is removed. The file keeps its
// permissions. Returns ERROR_SUCCESS or the Win32 error of the failing step: ERROR_DIRECTORY when
// a folder has that name, ERROR_BAD_FILE_TYPE for a device or a pipe, ERROR_ACCESS_DENIED for a
// read-only file, ERROR_CANCELLED when the pieces stopped the writing.
DWORD writeWholeFile(const std::wstring& path, const BytePieces& pieces, HalfDone* left = nullptr,
                     AsideFolder asideFolder = nullptr);
DWORD writeWholeFile(const std::wstring& path, std::string_view bytes);

// Whether the name is text: a name made of bytes that are no characters (Linux), or one with half
// a surrogate pair (Windows), holds a lone surrogate, and cannot be shown or typed again.
bool nameIsText(const std::wstring& name);

// Whether a file (not a folder) of that name exists, readable or not.
bool fileExists(const std::wstring& path);
