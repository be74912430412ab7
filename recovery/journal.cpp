// Writing the recovery journal.
#include "recovery/journal.h"

#include "recovery/journal_file.h"
#include "recovery/recovery.h"

namespace {

bool writeAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

} // namespace

bool Journal::start(const std::wstring& path, ULONGLONG baseTime)
{
    close(false);
    // The name is deleted first: a link planted there goes, and is never written through.
    DeleteFileW(path.c_str());
    file_ = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, recoveryFileFlags,
                        nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    path_ = path;
    bytes_ = journalStart(baseTime);
    written_ = bytes_.size();
    if (writeAll(file_, bytes_))
        return true;
    close(true);
    return false;
}

bool Journal::append(const TextChange& change)
{
    if (!open())
        return false;
    bytes_.clear();
    appendJournalRecord(change.position, change.removed.size(), change.inserted, bytes_);
    if (writeAll(file_, bytes_)) {
        written_ += bytes_.size();
        return true;
    }
    close(true);
    return false;
}

bool Journal::flush()
{
    return open() && FlushFileBuffers(file_);
}

void Journal::close(bool remove)
{
    if (!open())
        return;
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (remove)
        DeleteFileW(path_.c_str());
    written_ = 0;
}
