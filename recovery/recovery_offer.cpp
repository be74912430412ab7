// Offering, at start-up, the recovery copies that editors which no longer run left behind.
#include "recovery/recovery.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "encoding/text_reader.h"
#include "files/file_errors.h"
#include "files/file_identity.h"
#include "files/file_io.h"
#include "recovery/journal_file.h"
#include "ui/text_limits.h"
#include "ui/window_parts.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

// The header is near the start: a path of the longest kind takes under 100 KB.
constexpr DWORD headerRoom = 256 * 1024;
constexpr std::size_t restorePiece = 4 << 20;

struct LeftCopy {
    std::wstring stem;
    HANDLE lock; // taken: while it is held no other editor offers the same copy
    RecoveryHeader header;
};

HANDLE openCopy(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       recoveryFileFlags, nullptr);
}

// The copy's first bytes, where its header is; false when the copy cannot be read at all.
bool readFirstBytes(const std::wstring& path, std::string& bytes)
{
    bytes.assign(headerRoom, '\0');
    HANDLE file = openCopy(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    const bool read = ReadFile(file, bytes.data(), headerRoom, &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return read;
}

// Calls found with the stem (the folder and the name without its extension) of each file of the
// folder that matches the pattern.
template <typename Found>
void forEachFile(const std::wstring& folder, const wchar_t* pattern, Found found)
{
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        found(folder + L"\\" + name.substr(0, name.rfind(L'.')));
    } while (FindNextFileW(search, &data));
    FindClose(search);
}

// Takes an editor's lock; fails while that editor runs.
HANDLE takeLock(const std::wstring& stem, DWORD disposition)
{
    return CreateFileW(recoveryLockOf(stem).c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                       recoveryFileFlags, nullptr);
}

// A copy that cannot be read as one is kept for the user under a name that is never offered:
// <stem>.damaged, or <stem>-<n>.damaged beside an earlier one. Returns that name, or "" when it
// could not be renamed.
std::wstring setAside(const std::wstring& stem)
{
    for (int n = 1; n <= 100; ++n) {
        const std::wstring name =
            stem + (n == 1 ? std::wstring() : L"-" + std::to_wstring(n)) + L".damaged";
        if (MoveFileExW(recoveryCopyOf(stem).c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH))
            return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
            return {};
    }
    return {};
}

// The copies whose editor no longer runs: their lock can be taken (or is gone). A copy that
// cannot be read now is left where it is for a later start; one whose header is damaged is set
// aside, its name added to damaged.
std::vector<LeftCopy> leftCopies(const std::wstring& folder, std::vector<std::wstring>& damaged)
{
    std::vector<LeftCopy> copies;
    forEachFile(folder, L"*.recovery", [&](const std::wstring& stem) {
        HANDLE lock = takeLock(stem, OPEN_ALWAYS);
        if (lock == INVALID_HANDLE_VALUE)
            return;
        std::string bytes;
        RecoveryHeader header;
        const bool read = readFirstBytes(recoveryCopyOf(stem), bytes);
        if (read && parseHeader(bytes, header) != std::string::npos) {
            copies.push_back({stem, lock, header});
            return;
        }
        const std::wstring aside = read ? setAside(stem) : std::wstring();
        CloseHandle(lock);
        if (aside.empty())
            return;
        DeleteFileW(recoveryLockOf(stem).c_str());
        damaged.push_back(fileNameOf(aside));
    });
    std::sort(copies.begin(), copies.end(),
              [](const LeftCopy& a, const LeftCopy& b) { return a.header.time > b.header.time; });
    return copies;
}

// Said once: the copies are renamed and never offered again.
void tellDamaged(HWND window, const std::vector<std::wstring>& damaged)
{
    if (damaged.empty())
        return;
    std::wstring names;
    for (const std::wstring& name : damaged)
        names += L"\n" + name;
    tellUser(window,
             L"Quenwrite found unsaved text from an earlier session that it cannot read: the "
             L"recovery copy is damaged, so nothing was restored from it.\n\nIt was kept, renamed, "
             L"in Quenwrite's folder of recovery copies:" +
                 names,
             MB_ICONWARNING);
}

// The locks of editors that ended without a copy: only their names are left to free.
void removeLeftLocks(const std::wstring& folder)
{
    forEachFile(folder, L"*.lock", [](const std::wstring& stem) {
        if (fileExists(recoveryCopyOf(stem)))
            return;
        HANDLE lock = takeLock(stem, OPEN_EXISTING);
        if (lock == INVALID_HANDLE_VALUE)
            return;
        // A journal without its copy follows nothing any more.
        DeleteFileW(recoveryJournalOf(stem).c_str());
        CloseHandle(lock);
        DeleteFileW(recoveryLockOf(stem).c_str());
    });
}

void letGo(const LeftCopy& copy, bool remove)
{
    if (remove) {
        DeleteFileW(recoveryCopyOf(copy.stem).c_str());
        DeleteFileW(recoveryJournalOf(copy.stem).c_str());
    }
    CloseHandle(copy.lock);
    if (remove)
        DeleteFileW(recoveryLockOf(copy.stem).c_str());
}

// "14:02" for a copy of today, "2024-05-02 14:02" for an older one.
std::wstring whenOf(ULONGLONG time)
{
    FILETIME utc{DWORD(time & 0xFFFFFFFF), DWORD(time >> 32)};
    FILETIME local;
    SYSTEMTIME at;
    SYSTEMTIME today;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &at))
        return L"an earlier session";
    GetLocalTime(&today);
    wchar_t text[32];
    if (at.wYear == today.wYear && at.wMonth == today.wMonth && at.wDay == today.wDay)
        std::swprintf(text, 32, L"%02u:%02u", unsigned(at.wHour), unsigned(at.wMinute));
    else
        std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", unsigned(at.wYear),
                      unsigned(at.wMonth), unsigned(at.wDay), unsigned(at.wHour),
                      unsigned(at.wMinute));
    return text;
}

std::wstring question(const RecoveryHeader& header)
{
    const std::wstring name = header.path.empty() ? L"New file" : fileNameOf(header.path);
    return L"Quenwrite found unsaved text from " + whenOf(header.time) + L" (" + name +
           L"). Restore it?";
}

// The whole copy, up to the largest file Open takes; size is what the copy says it holds.
DWORD readCopy(const std::wstring& path, FileBytes& bytes, ULONGLONG& size)
{
    HANDLE file = openCopy(path);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    LARGE_INTEGER held;
    size = GetFileSizeEx(file, &held) ? ULONGLONG(held.QuadPart) : 0;
    const DWORD error = readWholeFile(file, bytes, largestOpenableFile());
    CloseHandle(file);
    return error;
}

bool isFullPath(const std::wstring& path)
{
    std::wstring full;
    return !path.empty() && path.find(L'\0') == std::wstring::npos &&
           fullPathOf(path, full) == ERROR_SUCCESS && full == path;
}

// The header at the start of the whole copy, read again: the copy may have changed since.
std::size_t headerOf(const FileBytes& bytes, RecoveryHeader& header)
{
    std::string head;
    for (std::size_t i = 0; i < bytes.pieceCount() && head.size() < headerRoom; ++i)
        head += bytes.piece(i).substr(0, headerRoom - head.size());
    return parseHeader(head, header);
}

// Hands the copy's text to add, a few megabytes at a time.
template <typename Add> void decodeText(const FileBytes& bytes, std::size_t textStart, Add add)
{
    TextFromRecoveryBytes decoder;
    std::wstring piece;
    std::size_t skip = textStart;
    for (std::size_t i = 0; i < bytes.pieceCount(); ++i) {
        std::string_view part = bytes.piece(i);
        const std::size_t skipped = std::min(skip, part.size());
        part.remove_prefix(skipped);
        skip -= skipped;
        for (std::size_t done = 0; done < part.size(); done += restorePiece) {
            piece.clear();
            decoder.append(part.substr(done, restorePiece), piece);
            add(piece);
        }
    }
    piece.clear();
    decoder.finish(piece);
    add(piece);
}

// Whether the copy's text fits as an opened file's must, counted only when its bytes leave room
// for doubt (no character takes less than a byte).
bool fits(const FileBytes& bytes, std::size_t textStart)
{
    if (textFits(bytes.size(), bytes.size()))
        return true;
    ULONGLONG characters = 0;
    decodeText(bytes, textStart,
               [&characters](const std::wstring& piece) { characters += piece.size(); });
    return textFits(bytes.size(), characters);
}

// The copy's text into the control, as Open hands a file over; false when the control took only
// a part.
bool showText(HWND edit, const FileBytes& bytes, std::size_t textStart)
{
    return replaceText(edit,
                       [&bytes, textStart](const auto& add) { decodeText(bytes, textStart, add); });
}

std::optional<bool> showCopyText(HWND window, const std::wstring& copy, const FileBytes& bytes,
                                 std::size_t textStart)
{
    if (!fits(bytes, textStart)) {
        tellUser(window, tooLargeToOpen(copy, bytes.size(), 0), MB_ICONERROR);
        return std::nullopt;
    }
    return showText(Editor.editControl, bytes, textStart);
}

// A copy whose text is its file's: the file as the copy knew it, read as Open reads it. A file
// that changed since can no longer carry the changes; the copy is set aside.
std::optional<bool> showFileText(HWND window, const std::wstring& stem,
                                 const RecoveryHeader& header)
{
    const std::wstring name = header.path.empty() ? L"New file" : fileNameOf(header.path);
    if (!isFullPath(header.path) || identityOf(header.path) != header.identity) {
        setAside(stem);
        tellUser(window,
                 L"Quenwrite kept the unsaved changes to \u201C" + name +
                     L"\u201D as changes to that file, and the file has changed since (or is "
                     L"gone), so they cannot be put back on it. Nothing was restored; the changes "
                     L"were kept, renamed, in Quenwrite's folder of recovery copies.",
                 MB_ICONWARNING);
        return std::nullopt;
    }
    FileBytes file;
    const DWORD error = readWholeFile(header.path, file, largestOpenableFile());
    if (error != ERROR_SUCCESS) {
        tellUser(window, openFailure(header.path, error), MB_ICONERROR);
        return std::nullopt;
    }
    return replaceText(Editor.editControl, [&](const auto& add) {
        TextReader reader(header.format);
        std::wstring part;
        for (std::size_t i = 0; i < file.pieceCount(); ++i) {
            const std::string_view bytes = file.piece(i);
            for (std::size_t done = 0; done < bytes.size(); done += restorePiece) {
                reader.append(bytes.substr(done, restorePiece));
                reader.take(part);
                add(part);
            }
        }
        add(reader.finish());
    });
}

// Makes one change of the journal in the control; false when it does not fit the text there.
bool replayChange(HWND edit, const JournalChange& change)
{
    const auto length = std::size_t(GetWindowTextLengthW(edit));
    if (change.position > length || change.removed > length - change.position)
        return false;
    SendMessageW(edit, EM_SETSEL, WPARAM(change.position),
                 LPARAM(change.position + change.removed));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(change.inserted.c_str()));
    return std::size_t(GetWindowTextLengthW(edit)) + change.removed ==
           length + change.inserted.size();
}

// The changes the left copy's journal holds, made again in order, the caret left after the last.
// True when there were any. A journal cut short or damaged gives what it holds up to there, and
// the user is told.
bool replayJournal(HWND window, const std::wstring& stem, const RecoveryHeader& header)
{
    std::string bytes;
    if (readWholeFile(recoveryJournalOf(stem), bytes) != ERROR_SUCCESS)
        return false;
    const HWND edit = Editor.editControl;
    std::size_t caret = 0;
    const JournalRead read = readJournal(bytes, header.time, [&](const JournalChange& change) {
        caret = change.position + change.inserted.size();
        return replayChange(edit, change);
    });
    if (!read.started || read.changes == 0)
        return false;
    SendMessageW(edit, EM_SETSEL, WPARAM(caret), LPARAM(caret));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    if (!read.whole)
        tellUser(window,
                 L"The last changes before Quenwrite ended could not all be read back: the text "
                 L"is restored as it was after the " +
                     std::to_wstring(read.changes) +
                     L" changes that could. Look over its end before you save it.",
                 MB_ICONWARNING);
    return true;
}

} // namespace

bool Recovery::offer(HWND window)
{
    const std::wstring folder = recoveryFolder(false);
    if (folder.empty())
        return false;
    std::vector<std::wstring> damaged;
    std::vector<LeftCopy> copies = leftCopies(folder, damaged);
    tellDamaged(window, damaged);
    bool restored = false;
    std::size_t next = 0;
    for (; next < copies.size(); ++next) {
        const LeftCopy& copy = copies[next];
        const int answer = MessageBoxW(window, question(copy.header).c_str(), productName.c_str(),
                                       MB_YESNO | MB_ICONQUESTION);
        if (answer == IDNO) {
            letGo(copy, true);
            continue;
        }
        // Yes brings the text back; a box that failed keeps the copy for the next start.
        if (answer == IDYES) {
            restored = restore(window, copy.stem, copy.header);
            // A copy that could not become this editor's own is kept, offered again later.
            letGo(copy, restored && onDisk);
        } else {
            letGo(copy, false);
        }
        ++next;
        break;
    }
    // The others wait for a later start.
    for (; next < copies.size(); ++next)
        letGo(copies[next], false);
    removeLeftLocks(folder);
    return restored;
}

bool Recovery::restore(HWND window, const std::wstring& left, const RecoveryHeader& header)
{
    const std::wstring copy = recoveryCopyOf(left);
    FileBytes bytes;
    ULONGLONG size = 0;
    const DWORD error = readCopy(copy, bytes, size);
    if (error == ERROR_FILE_TOO_LARGE) {
        tellUser(window, tooLargeToOpen(copy, size, 0), MB_ICONERROR);
        return false;
    }
    RecoveryHeader read;
    const std::size_t textStart =
        error == ERROR_SUCCESS ? headerOf(bytes, read) : std::string::npos;
    if (textStart == std::string::npos) {
        tellUser(window, openFailure(copy, error == ERROR_SUCCESS ? ERROR_READ_FAULT : error),
                 MB_ICONERROR);
        return false;
    }
    const std::optional<bool> shown = read.textInFile
                                          ? showFileText(window, left, read)
                                          : showCopyText(window, copy, bytes, textStart);
    if (!shown)
        return false;
    if (!*shown) {
        // The part the control holds never stands for the copy, which stays for a later start.
        Document.forget();
        Editor.newDocument(window, true);
        tellUser(window, textCutShort(copy), MB_ICONERROR);
        return false;
    }
    const bool replayed = replayJournal(window, left, read);
    // The copy's file is where a save would go. A name that is not a whole path of a file, as
    // no editor would have written it, is no file: Save then asks for one.
    if (isFullPath(header.path))
        Document.adopt(header.path, header.identity, header.format, header.mixedLineEnds, false);
    else
        Document.adopt(L"", {}, header.format, header.mixedLineEnds, false);
    Editor.updateTitle(window);
    // The copy (and its journal) become this editor's own: the text is in them already. A copy
    // of the text as it is now takes their place at once.
    KillTimer(window, recoveryTimer);
    waiting = false;
    onDisk = makeNames() && MoveFileExW(copy.c_str(), recoveryCopyOf(stem).c_str(),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (onDisk)
        MoveFileExW(recoveryJournalOf(left).c_str(), recoveryJournalOf(stem).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    current = onDisk && !replayed;
    if (!current)
        SetTimer(window, recoveryTimer, USER_TIMER_MINIMUM, nullptr);
    return true;
}
