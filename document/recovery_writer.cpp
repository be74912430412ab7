// Writing a recovery copy of the edit control's text a slice at a time.
#include "document/recovery_writer.h"

#include <algorithm>
#include <cstring>

namespace {

// Flushing has a fixed cost of a few milliseconds per call whatever it writes: every few megabytes
// the bytes so far reach the disk in a step of their own, so neither a slice nor the last step
// waits for the whole copy to be written out.
constexpr std::size_t flushEvery = 4 << 20;

// EM_GETLINE is told the buffer's size in its first WORD.
constexpr LRESULT longestLineForGetLine = 0xFFFF;

bool isHighSurrogate(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

bool RecoveryWriter::start(HWND edit, const std::wstring& temporary, const RecoveryHeader& header)
{
    abandon();
    file_ = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    edit_ = edit;
    temporary_ = temporary;
    lineCount_ = std::size_t(std::max<LRESULT>(1, SendMessageW(edit, EM_GETLINECOUNT, 0, 0)));
    nextLine_ = 0;
    unflushed_ = 0;
    textDone_ = false;
    fromSnapshot_ = false;
    snapshot_ = {};
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
    bytes_.clear();
    std::size_t written = 0;
    while (written < characters) {
        if (fromSnapshot_) {
            const std::size_t taken = fromSnapshot(characters - written);
            if (taken == 0)
                break;
            written += taken;
            continue;
        }
        if (nextLine_ == lineCount_)
            break;
        const std::size_t before = bytes_.size();
        if (!readLine())
            return fail();
        written += std::max<std::size_t>(1, bytes_.size() - before);
    }
    if (!write())
        return fail();
    unflushed_ += bytes_.size();
    textDone_ = fromSnapshot_ ? snapshotAt_ == snapshot_.text.size() : nextLine_ == lineCount_;
    if (textDone_)
        snapshot_ = {};
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

// Appends line nextLine_ and the line break after it.
bool RecoveryWriter::readLine()
{
    const LRESULT start = SendMessageW(edit_, EM_LINEINDEX, nextLine_, 0);
    const LRESULT length = SendMessageW(edit_, EM_LINELENGTH, WPARAM(start), 0);
    if (start < 0 || length < 0)
        return false;
    if (length > longestLineForGetLine) {
        takeSnapshot(std::size_t(start));
        return true;
    }
    line_.assign(std::size_t(std::max<LRESULT>(length, 1)), L'\0');
    const WORD room = WORD(length);
    std::memcpy(line_.data(), &room, sizeof room);
    const LRESULT got =
        length ? SendMessageW(edit_, EM_GETLINE, nextLine_, reinterpret_cast<LPARAM>(line_.data()))
               : 0;
    if (got != length)
        return false;
    appendTextBytes(std::wstring_view(line_).substr(0, std::size_t(length)), bytes_);
    ++nextLine_;
    if (nextLine_ == lineCount_)
        return true;
    // Lines end in CR LF; a wrapping control's soft breaks have no characters between lines.
    const LRESULT next = SendMessageW(edit_, EM_LINEINDEX, nextLine_, 0);
    const LRESULT between = next - start - length;
    if (between == 2)
        bytes_ += "\r\n";
    else if (between != 0)
        takeSnapshot(std::size_t(start + length));
    return true;
}

void RecoveryWriter::takeSnapshot(std::size_t from)
{
    snapshot_ = wholeText(edit_);
    snapshotAt_ = std::min(from, snapshot_.text.size());
    fromSnapshot_ = true;
}

// Appends at most characters characters from the snapshot, never half a surrogate pair.
std::size_t RecoveryWriter::fromSnapshot(std::size_t characters)
{
    const std::wstring_view text = snapshot_.text;
    std::size_t count = std::min(characters, text.size() - snapshotAt_);
    if (count > 0 && snapshotAt_ + count < text.size() &&
        isHighSurrogate(text[snapshotAt_ + count - 1]))
        ++count;
    appendTextBytes(text.substr(snapshotAt_, count), bytes_);
    snapshotAt_ += count;
    return count;
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
    snapshot_ = {};
}
