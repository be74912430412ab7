// Writes one recovery copy of the edit control's text into a temporary file, a step at a time,
// so that typing never waits for the copy of a large document. The text must not change while a
// copy is written: the owner gives the copy up when it does.
#pragma once

#include "platform/win32.h"
#include "recovery/recovery_file.h"
#include "ui/text_pieces.h"

#include <string>

// A copy of the header alone (a copy whose text is its file's, or empty), written through the
// temporary file and then given the copy's name, without waiting for the disk.
bool writeHeaderOnly(const std::wstring& temporary, const std::wstring& copy,
                     const RecoveryHeader& header);

class RecoveryWriter {
public:
    enum class Step { more, done, failed };

    // Makes the temporary file and writes the header; false when the file cannot be made.
    bool start(HWND edit, const std::wstring& temporary, const RecoveryHeader& header);
    // Writes at least characters characters (or the rest), or flushes what was written: a step
    // of its own every few megabytes and at the end. done: the file is complete, flushed and
    // closed; failed: it was removed again.
    Step step(std::size_t characters);
    // Closes and removes the unfinished file.
    void abandon();
    bool running() const { return file_ != INVALID_HANDLE_VALUE; }
    const std::wstring& temporary() const { return temporary_; }

private:
    Step flush();
    bool takePiece(std::size_t characters);
    bool write();
    Step fail();

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::wstring temporary_;
    TextPieces pieces_;
    std::size_t unflushed_ = 0; // bytes written since the last flush
    bool textDone_ = false;     // all of the text is written; a flush and the close are left
    std::wstring piece_;
    std::string bytes_;
};
