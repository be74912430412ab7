// Opening a text file into the edit control.
#include "document/file_messages.h"
#include "document/path_dialog.h"
#include "document/save.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "encoding/text_detect.h"
#include "encoding/text_reader.h"
#include "files/file_errors.h"
#include "files/file_identity.h"
#include "files/file_io.h"
#include "recovery/recovery.h"
#include "ui/text_limits.h"
#include "ui/window_parts.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

void Editor::openFile(HWND window)
{
    if (!mayDropText(window))
        return;
    std::wstring path;
    if (choosePath(window, PathDialog::open, path))
        readFile(path.c_str(), window);
}

namespace {

struct ShownText {
    std::size_t characters;
    std::size_t zeroBytes;
    bool whole; // the control took all of it
};

// The file's bytes as text up to a megabyte at a time, handed to sink piece by piece through two
// buffers used in turn: the whole text as one string would be four times the file (wchar_t is
// 32 bits on Linux), and the first touch of that much fresh memory took longer than everything
// else together. Pieces of four megabytes held 32 MB at any size and opened 10 MB more slowly.
// With release, each piece of the file is let go once its text has gone to sink.
template <typename Sink>
ShownText convertInPieces(FileBytes& file, TextFormat format, bool release, Sink sink,
                          std::vector<bool>* lineEndForms = nullptr)
{
    // A 64th of the file, up to a megabyte: the buffers, at four bytes a character, stay small
    // beside a small file's text.
    const auto piece = std::size_t(std::clamp<std::uint64_t>(
        file.size() / 64, std::uint64_t(64) << 10, std::uint64_t(1) << 20));
    TextReader converter(format);
    converter.recordLineEnds(lineEndForms);
    std::wstring part;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < file.pieceCount(); ++i) {
        const std::string_view bytes = file.piece(i);
        for (std::size_t done = 0; done < bytes.size(); done += piece) {
            converter.append(bytes.substr(done, piece));
            converter.take(part);
            characters += part.size();
            sink(part);
        }
        if (release)
            file.release(i);
    }
    std::size_t zeroBytes = 0;
    part = converter.finish(&zeroBytes);
    sink(part);
    return {characters + part.size(), zeroBytes, true};
}

ShownText showText(HWND edit, FileBytes& file, TextFormat format, std::vector<bool>* lineEndForms)
{
    ShownText shown;
    const bool whole = replaceText(edit, [&](const auto& add) {
        shown = convertInPieces(file, format, true, add, lineEndForms);
    });
    shown.whole = whole;
    return shown;
}

// The format of the file's bytes, recognised a quarter megabyte at a time: the detector's passes
// over each part then find it in the cache.
DetectedFormat detectFormat(const FileBytes& file)
{
    constexpr std::size_t part = 256 << 10;
    FormatDetector detector;
    for (std::size_t i = 0; i < file.pieceCount(); ++i) {
        const std::string_view piece = file.piece(i);
        for (std::size_t done = 0; done < piece.size(); done += part)
            detector.add(piece.substr(done, part));
    }
    return detector.finish();
}

// At most as many characters as the file's text can have: one for each byte (each two bytes in
// UTF-16), one more for each LF or CR that gains a partner, and a line end at the end.
ULONGLONG mostCharactersOf(ULONGLONG bytes, const DetectedFormat& detected)
{
    const Encoding encoding = detected.format.encoding;
    const bool wide = isUtf16(encoding);
    const ULONGLONG units = wide ? bytes / 2 : bytes;
    return units + detected.lineEnds.lf + detected.lineEnds.cr + 2;
}

// Whether the file's text fits, counted only when the most it can have leaves room for doubt.
bool fits(const std::wstring& path, FileBytes& file, const DetectedFormat& detected, HWND window)
{
    if (textFits(file.size(), mostCharactersOf(file.size(), detected)))
        return true;
    const ULONGLONG characters =
        convertInPieces(file, detected.format, false, [](const std::wstring&) {}).characters;
    if (textFits(file.size(), characters))
        return true;
    tellUser(window, tooLargeToOpen(path, file.size(), characters), MB_ICONERROR);
    return false;
}

} // namespace

void Editor::readFile(const wchar_t* path, HWND window)
{
    // Opened, such a file could be saved only under another name, as a second file.
    if (!nameIsText(path)) {
        tellUser(window, openFailure(path, ERROR_NO_UNICODE_TRANSLATION), MB_ICONERROR);
        return;
    }
    // Taken before reading: a change made while the file is read shows at the next save.
    const FileIdentity identity = identityOf(path);
    // The whole file is read before the document is touched, so a read that fails keeps it.
    FileBytes file;
    const DWORD error = readWholeFile(path, file, largestOpenableFile());
    if (error == ERROR_FILE_TOO_LARGE) {
        tellUser(window, tooLargeToOpen(path, identity.size, 0), MB_ICONERROR);
        return;
    }
    // A name of a file that does not exist yet opens as its empty document; Save creates it.
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (error != ERROR_SUCCESS && !missing) {
        tellUser(window, openFailure(path, error), MB_ICONERROR);
        return;
    }
    const DetectedFormat detected = detectFormat(file);
    if (!fits(path, file, detected, window))
        return;
    // A file that mixes line ends notes each line's, so a save can keep them as they are.
    LineEndForms forms{{}, detected.format.lineEnd};
    const bool mixed = mixesLineEnds(detected.lineEnds);
    // The pieces report themselves as changes; the document is settled below all the same.
    const ShownText shown =
        showText(editControl, file, detected.format, mixed ? &forms.lf : nullptr);
    if (!shown.whole) {
        // A control that ran out of memory keeps a part: that part must never replace the file.
        // The user agreed to drop the previous document already; an empty new one takes its place.
        Document.forget();
        newDocument(window, true);
        tellUser(window, textCutShort(path), MB_ICONERROR);
        return;
    }
    // Without its file, a text that lost zero bytes must be saved under a name the user gives,
    // so it cannot replace the file by accident.
    const bool whole = shown.zeroBytes == 0;
    Document.adopt(whole ? path : L"", whole ? identity : FileIdentity{}, detected.format,
                   detected.lineEnds, whole, std::move(forms));
    if (whole)
        Recovery.discard(window);
    updateTitle(window);
    if (shown.zeroBytes != 0)
        tellUser(window, zeroBytesLeftOut(path, shown.zeroBytes), MB_ICONWARNING);
}
