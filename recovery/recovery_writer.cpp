// Writing a recovery copy of the edit control's text a step at a time.
#include "recovery/recovery_writer.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

// Flushing has a fixed cost of a few milliseconds per call whatever it writes: every few megabytes
// the bytes so far reach the disk in a step of their own, so neither a step of text nor the last
// step waits for the whole copy to be written out.
constexpr std::size_t flushEvery = 4 << 20;

} // namespace

bool RecoveryWriter::start(HWND edit, const std::wstring& temporary, const RecoveryHeader& header)
{
    abandon();
    // Made new, never opened: whatever has the name (a file left behind, or a link planted to
    // make the copy write over what it leads to) goes first, the link and not what it leads to.
    DeleteFileW(temporary.c_str());
    file_ = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    temporary_ = temporary;
    pieces_.start(edit);
    unflushed_ = 0;
    textDone_ = false;
    bytes_ = headerBytes(header);
    if (write())
        return true;
    fail();
    return false;
}

RecoveryWriter::Step RecoveryWriter::step(std::size_t characters)
{
    if (!running())
        return Step::failed;
    if (textDone_ || unflushed_ >= flushEvery)
        return flush();
    if (!takePiece(characters) || !write())
        return fail();
    unflushed_ += bytes_.size();
    textDone_ = pieces_.done();
    return Step::more;
}

// Flushed before it takes the copy's name, so a copy under that name is always whole.
RecoveryWriter::Step RecoveryWriter::flush()
{
    if (!FlushFileBuffers(file_))
        return fail();
    unflushed_ = 0;
    if (!textDone_)
        return Step::more;
    const bool closed = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (closed)
        return Step::done;
    DeleteFileW(temporary_.c_str());
    return Step::failed;
}

// The copy is the text's safety, not the text: a piece with no memory for it fails this copy
// alone, which is told once and tried again after the next change.
bool RecoveryWriter::takePiece(std::size_t characters)
{
    try {
        if (pieces_.next(characters, piece_) == TextPieces::Next::failed)
            return false;
        bytes_.clear();
        appendTextBytes(piece_, bytes_);
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return false;
}

bool RecoveryWriter::write()
{
    std::string_view rest = bytes_;
    while (!rest.empty()) {
        DWORD written = 0;
        const DWORD size = DWORD(std::min<std::size_t>(rest.size(), 1 << 30));
        if (!WriteFile(file_, rest.data(), size, &written, nullptr) || written == 0)
            return false;
        rest.remove_prefix(written);
    }
    return true;
}

bool writeHeaderOnly(const std::wstring& temporary, const std::wstring& copy,
                     const RecoveryHeader& header)
{
    DeleteFileW(temporary.c_str());
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::string bytes = headerBytes(header);
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    // Not flushed: it is written with the first change, and a key must not wait for the disk.
    // The system has it as soon as it is written; a power cut before the pause's flush leaves a
    // copy that reads as damaged, never as another text.
    if (CloseHandle(file) && whole &&
        MoveFileExW(temporary.c_str(), copy.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

RecoveryWriter::Step RecoveryWriter::fail()
{
    abandon();
    return Step::failed;
}

void RecoveryWriter::abandon()
{
    if (!running())
        return;
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    DeleteFileW(temporary_.c_str());
    pieces_ = {};
}
