// Opening a text file into the edit control.
#include "app/editor.h"
#include "app/globals.h"
#include "document/file_io.h"
#include "document/file_messages.h"
#include "document/path_dialog.h"
#include "document/save.h"
#include "document/text_detect.h"
#include "document/text_reader.h"
#include "document/title.h"

void Editor::openFile(HWND window)
{
    if (!mayDropText(window))
        return;
    std::wstring path;
    if (choosePath(window, PathDialog::open, path))
        readFile(path.c_str(), window);
}

namespace {

// The file's bytes handed to the control as text a few megabytes at a time, through two buffers
// used in turn: the whole text as one string would be four times the file (wchar_t is 32 bits on
// Linux), and the first touch of that much fresh memory took longer than everything else together.
// Returns the number of zero bytes left out.
std::size_t showText(HWND edit, std::string_view bytes, TextFormat format)
{
    constexpr std::size_t piece = 4 << 20;
    SetWindowTextW(edit, L"");
    TextReader converter(format);
    std::wstring part;
    for (std::size_t done = 0; done < bytes.size(); done += piece) {
        converter.append(bytes.substr(done, piece));
        converter.take(part);
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(part.c_str()));
    }
    std::size_t zeroBytes = 0;
    part = converter.finish(&zeroBytes);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(part.c_str()));
    // As a text set whole would be shown: from the top, nothing to undo.
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    return zeroBytes;
}

} // namespace

void Editor::readFile(const wchar_t* path, HWND window)
{
    // The whole file is read before the document is touched, so a read that fails keeps it.
    std::string bytes;
    const DWORD error = readWholeFile(path, bytes);
    // A name of a file that does not exist yet opens as its empty document; Save creates it.
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (error != ERROR_SUCCESS && !missing) {
        tellUser(window, openFailure(path, error), MB_ICONERROR);
        return;
    }
    const DetectedFormat detected = detectFormat(bytes);
    textFormat = detected.format;
    mixedLineEnds = mixesLineEnds(detected.lineEnds) ? detected.lineEnds : LineEndCounts{};
    // The pieces report themselves as changes; saved is settled below all the same.
    const std::size_t zeroBytes = showText(editControl, bytes, detected.format);
    if (zeroBytes == 0) {
        filePath = path;
        fileName = fileNameOf(filePath);
        saved = true;
    } else {
        // Without its file, a save must ask for a name and cannot replace the file by accident.
        filePath.clear();
        fileName.clear();
        saved = false;
    }
    updateTitle(window);
    if (zeroBytes != 0)
        tellUser(window, zeroBytesLeftOut(path, zeroBytes), MB_ICONWARNING);
}
