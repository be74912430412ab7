// Writing the recovery copy: when, where, and removing it once nothing needs it.
#include "recovery/recovery.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "files/file_io.h"
#include "recovery/own_folder.h"
#include "ui/window_parts.h"

namespace {

// Writing starts once typing has paused this long...
constexpr DWORD pauseAfterTyping = 2000;
// ...or once the first change no copy holds has waited this long, while typing goes on.
constexpr DWORD longestWait = 30000;
// Between two copies at least nine times as long as the last one took: writing copies then
// takes at most a tenth of the time, however large the text.
constexpr DWORD restPerCopyTime = 9;
// A finished copy that could not take its name tries again after this long.
constexpr DWORD renameRetry = 1000;
// What one step writes: about 2 ms of work, whatever the text, so a key never waits long.
constexpr std::size_t stepCharacters = 1 << 19;
// A journal longer than this is replaced by a whole copy at the next pause: replaying it would
// make the next start slow.
constexpr ULONGLONG rewriteAt = ULONGLONG(16) << 20;

ULONGLONG now()
{
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

std::wstring recoveryFolder(bool create)
{
    wchar_t base[MAX_PATH];
    const int flags = CSIDL_LOCAL_APPDATA | (create ? CSIDL_FLAG_CREATE : 0);
    if (SHGetFolderPathW(nullptr, flags, nullptr, SHGFP_TYPE_CURRENT, base) != S_OK)
        return {};
    const std::wstring folder = std::wstring(base) + L"\\Quenwrite";
    if (create && !CreateDirectoryW(folder.c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS)
        return {};
    return isOwnFolder(folder) ? folder : std::wstring();
}

void Recovery::documentChanged(HWND window)
{
    current = false;
    const DWORD time = GetTickCount();
    if (!waiting) {
        waiting = true;
        firstChange = time;
    }
    // A copy being written, or one waiting for its name, no longer holds the text: the next
    // copy after the pause takes its place.
    const bool gaveUp = writer.running() || renaming;
    writer.abandon();
    dropFinished();
    if (gaveUp || time - firstChange < longestWait)
        SetTimer(window, recoveryTimer, pauseAfterTyping, nullptr);
}

void Recovery::onTimer(HWND window)
{
    if (writer.running()) {
        finishStep(window, writer.step(stepCharacters), true);
        return;
    }
    if (renaming) {
        KillTimer(window, recoveryTimer);
        finishCopy(window, true);
        return;
    }
    KillTimer(window, recoveryTimer);
    if (Document.saved() || current) {
        waiting = false;
        return;
    }
    // The copy and the journal hold the text: a pause only makes sure it is on the disk.
    if (journalHoldsText()) {
        journal.flush();
        waiting = false;
        current = true;
        return;
    }
    const DWORD time = GetTickCount();
    const DWORD rest = lastDuration * restPerCopyTime;
    if (lastEnd != 0 && time - lastEnd < rest) {
        SetTimer(window, recoveryTimer, rest - (time - lastEnd), nullptr);
        return;
    }
    // A copy that cannot be written is tried again after the next change.
    if (!startCopy()) {
        waiting = false;
        copyFailed(window, true);
        return;
    }
    copyStarted = time;
    finishStep(window, writer.step(stepCharacters), true);
}

void Recovery::writeNow(HWND window)
{
    if (Document.saved() || current)
        return;
    if (journalHoldsText()) {
        journal.flush();
        return;
    }
    // No box while the session ends: nothing may hold it up.
    if (renaming) {
        finishCopy(window, false);
        return;
    }
    if (!writer.running()) {
        if (!startCopy())
            return;
        copyStarted = GetTickCount();
    }
    RecoveryWriter::Step step;
    do
        step = writer.step(stepCharacters);
    while (step == RecoveryWriter::Step::more);
    finishStep(window, step, false);
}

void Recovery::discard(HWND window)
{
    KillTimer(window, recoveryTimer);
    writer.abandon();
    dropFinished();
    journal.close(true);
    if (onDisk)
        onDisk = !DeleteFileW(recoveryCopyOf(stem).c_str());
    current = false;
    waiting = false;
}

void Recovery::release()
{
    if (lock == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(lock);
    lock = INVALID_HANDLE_VALUE;
    DeleteFileW(recoveryLockOf(stem).c_str());
}

bool Recovery::makeNames()
{
    if (!stem.empty())
        return true;
    const std::wstring folder = recoveryFolder(true);
    if (folder.empty())
        return false;
    const std::wstring process = folder + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-";
    // A name an editor with this process number left behind is never reused: its copy waits to
    // be offered.
    for (int n = 1; n <= 100; ++n) {
        const std::wstring candidate = process + std::to_wstring(n);
        lock = CreateFileW(recoveryLockOf(candidate).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           recoveryFileFlags, nullptr);
        if (lock == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_FILE_EXISTS)
                return false;
            continue;
        }
        if (!fileExists(recoveryCopyOf(candidate))) {
            stem = candidate;
            return true;
        }
        CloseHandle(lock);
        lock = INVALID_HANDLE_VALUE;
        DeleteFileW(recoveryLockOf(candidate).c_str());
    }
    return false;
}

bool Recovery::startCopy()
{
    if (!makeNames())
        return false;
    const RecoveryHeader header{now(), Document.filePath(), Document.identity(), Document.format(),
                                Document.mixedLineEnds()};
    writingTime = header.time;
    return writer.start(Editor.editControl, stem + L".tmp", header);
}

bool Recovery::journalHoldsText() const
{
    return onDisk && journal.open() && journal.written() < rewriteAt;
}

void Recovery::textChanged(const TextChange& change, bool fromFile)
{
    // A substitution is kept by its places, which the journal has no record for: a whole copy
    // follows instead.
    if (change.substitution) {
        lostTrack();
        return;
    }
    if (!journal.open() && !(fromFile && startFromFile(change)))
        return;
    journal.append(change);
}

// A copy that holds no text but names the file (or holds the empty text of a new document), and
// a journal after it: a gigabyte's first change writes a few hundred bytes, not the gigabyte.
bool Recovery::startFromFile(const TextChange& change)
{
    const bool hasFile = !Document.filePath().empty();
    // Without a file, only a text that was empty before the change is known without a copy.
    const auto length = std::size_t(GetWindowTextLengthW(Editor.editControl));
    const bool wasEmpty = length + change.removed.size() == change.inserted.size();
    if ((hasFile ? !Document.identity().known : !wasEmpty) || Document.formatChosen() ||
        !makeNames())
        return false;
    const RecoveryHeader header{now(),
                                Document.filePath(),
                                Document.identity(),
                                Document.format(),
                                Document.mixedLineEnds(),
                                hasFile};
    writer.abandon();
    dropFinished();
    if (!writeHeaderOnly(stem + L".tmp", recoveryCopyOf(stem), header))
        return false;
    onDisk = true;
    copyTime = header.time;
    return journal.start(recoveryJournalOf(stem), copyTime);
}

void Recovery::formatChanged(HWND window)
{
    lostTrack();
    documentChanged(window);
}

void Recovery::lostTrack()
{
    journal.close(true);
}

void Recovery::finishStep(HWND window, RecoveryWriter::Step step, bool mayTell)
{
    if (step == RecoveryWriter::Step::more) {
        SetTimer(window, recoveryTimer, USER_TIMER_MINIMUM, nullptr);
        return;
    }
    KillTimer(window, recoveryTimer);
    // Written or not, the changes wait no more: a copy that failed is tried after the next one.
    waiting = false;
    if (step == RecoveryWriter::Step::failed) {
        copyFailed(window, mayTell);
        return;
    }
    lastDuration = GetTickCount() - copyStarted;
    finishCopy(window, mayTell);
}

// The finished copy takes its name. A name that cannot be taken now (the old copy held open by
// another program) is tried again on the timer, the finished copy kept until then.
void Recovery::finishCopy(HWND window, bool mayTell)
{
    renaming = !MoveFileExW(writer.temporary().c_str(), recoveryCopyOf(stem).c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (renaming) {
        SetTimer(window, recoveryTimer, renameRetry, nullptr);
        copyFailed(window, mayTell);
        return;
    }
    onDisk = true;
    current = true;
    told = false;
    lastEnd = GetTickCount();
    // The journal starts afresh after the copy, which holds every change so far.
    copyTime = writingTime;
    journal.start(recoveryJournalOf(stem), copyTime);
}

void Recovery::dropFinished()
{
    if (renaming)
        DeleteFileW(writer.temporary().c_str());
    renaming = false;
}

// Said once, in a box: the user may then save. Copies go on being tried after each change, and
// only a copy that fails after one was written is told again.
void Recovery::copyFailed(HWND window, bool mayTell)
{
    if (told || !mayTell)
        return;
    // Before the box: its own message loop delivers the timer that may fail again.
    told = true;
    tellUser(window,
             L"Quenwrite could not keep a recovery copy of your unsaved text, so a crash or a "
             L"power cut would lose your changes. Save the document to keep them safe.\n\n"
             L"Quenwrite goes on trying as you type, and tells you again only if a copy fails "
             L"after one was kept.",
             MB_ICONWARNING);
}
