// The recovery journal of this editor: each change appended as it is made, one write each and no
// wait for the disk, after the copy on disk it follows. A copy and its journal together hold the
// text as it is; the journal is flushed at each pause in typing.
#pragma once

#include "editor/edit_record.h"
#include "platform/win32.h"

#include <string>

class Journal {
public:
    // A new journal at path, following the copy of that time; false when it cannot be made.
    bool start(const std::wstring& path, ULONGLONG baseTime);
    bool open() const { return file_ != INVALID_HANDLE_VALUE; }
    // False when the change could not be written: the journal is then closed and removed.
    bool append(const TextChange& change);
    bool flush();
    // Closes it; with remove, its file goes too.
    void close(bool remove);
    ULONGLONG written() const { return written_; }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::wstring path_;
    ULONGLONG written_ = 0;
    std::string bytes_;
};

inline std::wstring recoveryJournalOf(const std::wstring& stem)
{
    return stem + L".journal";
}
