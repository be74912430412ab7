// The recovery copy: while the document has unsaved changes, its text, the file's path and the
// time are kept in the user's own folder (the local application data folder, a Quenwrite folder
// in it), written a short pause after typing stops, so that a crash, a power cut or the end of
// the session loses nothing. At start-up a copy that an editor left behind is offered back.
#pragma once

#include "editor/edit_record.h"
#include "platform/win32.h"
#include "recovery/journal.h"
#include "recovery/recovery_writer.h"

#include <string>

// The main window's timer that writes the copy.
constexpr UINT_PTR recoveryTimer = 1;

struct Recovery {
    // This editor's copy is <folder>\<process id>-<n>.recovery, beside <...>.lock, which it keeps
    // open without sharing for as long as it runs: a copy whose lock another editor can take was
    // left behind. Both are made with the first copy.
    std::wstring stem;
    HANDLE lock = INVALID_HANDLE_VALUE;
    RecoveryWriter writer;
    // Each change since the copy on disk; with the copy it holds the text as it is.
    Journal journal;
    ULONGLONG copyTime = 0;    // the time in the header of the copy on disk
    ULONGLONG writingTime = 0; // the same of the copy being written
    bool onDisk = false;       // a copy of this editor's is on disk
    bool current = false;      // that copy holds the text as it is now
    bool waiting = false;      // there are changes no copy holds yet, since firstChange
    bool renaming = false;     // a finished copy waits under its temporary name for the timer
    bool told = false;         // the user heard that a copy failed, and none was written since
    DWORD firstChange = 0;     // GetTickCount times
    DWORD copyStarted = 0;
    DWORD lastEnd = 0;
    DWORD lastDuration = 0;

    // The user changed the text (EN_CHANGE), or the encoding or line ends a save writes, which
    // the copy keeps too.
    void documentChanged(HWND window);
    // A change of the text as the document's record has it, appended to the journal. fromFile:
    // the text before it was its file's as last opened or saved (or a new document's, empty),
    // so the journal can follow the file itself instead of a copy of it.
    void textChanged(const TextChange& change, bool fromFile);
    // The encoding or line ends were chosen: the next copy keeps them.
    void formatChanged(HWND window);
    // The record lost track of the text: only a whole copy holds it again.
    void lostTrack();
    // WM_TIMER recoveryTimer: starts a copy or writes its next step.
    void onTimer(HWND window);
    // The session ends: the copy is written whole, now.
    void writeNow(HWND window);
    // The text was saved, replaced or dropped: no copy is needed.
    void discard(HWND window);
    // The editor ends: its lock goes.
    void release();
    // At start-up: offers each copy that an editor which no longer runs left behind. True when
    // a copy's text was restored.
    bool offer(HWND window);

private:
    // True when the copy's text is the document now.
    bool restore(HWND window, const std::wstring& left, const RecoveryHeader& header);
    bool makeNames();
    bool startCopy();
    bool startFromFile(const TextChange& change);
    bool journalHoldsText() const;
    void finishStep(HWND window, RecoveryWriter::Step step, bool mayTell);
    void finishCopy(HWND window, bool mayTell);
    void copyFailed(HWND window, bool mayTell);
    // A finished copy that waits for its name no longer holds the text: it goes.
    void dropFinished();
};

extern struct Recovery Recovery;

// The folder the copies are kept in; empty when there is none (and create was false), or when
// it is not the user's own: copies there could be read by others, or planted.
std::wstring recoveryFolder(bool create);

// How files in that folder are opened: a link there is never followed.
constexpr DWORD recoveryFileFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;

// The copy and the lock of an editor's names.
inline std::wstring recoveryCopyOf(const std::wstring& stem)
{
    return stem + L".recovery";
}

inline std::wstring recoveryLockOf(const std::wstring& stem)
{
    return stem + L".lock";
}
