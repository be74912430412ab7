// Reads the edit control's text a run of whole lines at a time, through EM_GETLINE, so that
// nothing needs the whole text as one string: a save or a recovery copy of a gigabyte holds a few
// megabytes at once. A line too long for EM_GETLINE (more than 65,535 characters), or lines not
// separated by CR LF, make the reader take the whole text once and hand it out from that copy.
// The text must not change while it is read.
#pragma once

#include "platform/win32.h"
#include "ui/window_parts.h"

#include <memory>
#include <string>

class TextPieces {
public:
    enum class Next { piece, end, failed };

    void start(HWND edit);
    // Puts the next piece into piece: at least characters characters (fewer only at the end),
    // whole lines with the CR LF between them, and never a CR LF or a surrogate pair split
    // between two pieces. end: the whole text was handed out.
    Next next(std::size_t characters, std::wstring& piece);
    bool done() const;

private:
    bool readLine(std::wstring& piece);
    bool confirmed(const std::wstring& piece) const;
    void takeSnapshot(std::size_t from);
    void fromSnapshot(std::size_t characters, std::wstring& piece);

    HWND edit_ = nullptr;
    std::size_t lineCount_ = 0;
    std::size_t nextLine_ = 0;
    LRESULT nextStart_ = 0;           // where line nextLine_ starts, after a CR LF
    LRESULT pieceStart_ = 0;          // where the piece being read starts
    std::unique_ptr<wchar_t[]> line_; // EM_GETLINE's buffer
    WholeText snapshot_;              // the whole text, once a line was too long for EM_GETLINE
    std::size_t snapshotAt_ = 0;      // the next character of the snapshot to hand out
    bool fromSnapshot_ = false;
};
