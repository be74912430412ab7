// Opening a text file into the edit control.
#include "app/editor.h"
#include "app/globals.h"
#include "document/file_io.h"
#include "document/file_messages.h"
#include "document/path_dialog.h"
#include "document/save.h"
#include "document/text_bytes.h"
#include "document/title.h"

void Editor::openFile(HWND window)
{
    if (!mayDropText(window))
        return;
    std::wstring path;
    if (choosePath(window, PathDialog::open, path))
        readFile(path.c_str(), window);
}

void Editor::readFile(const wchar_t* path, HWND window)
{
    // The bytes go into the text a piece at a time: the whole file as bytes beside its text
    // would cost a quarter more memory, and its pages more time than the conversion itself.
    TextFromBytes converter;
    const DWORD error =
        readWholeFile(path, {[&converter](std::size_t size) { converter.reserve(size); },
                             [&converter](std::string_view piece) { converter.append(piece); }});
    // A name of a file that does not exist yet opens as its empty document; Save creates it.
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (error != ERROR_SUCCESS && !missing) {
        tellUser(window, openFailure(path, error), MB_ICONERROR);
        return;
    }
    std::size_t zeroBytes = 0;
    const std::wstring text = converter.finish(&zeroBytes);
    // A multi-line edit sends no change notification for a text set whole, so this is no user
    // change; saved is settled below all the same.
    SetWindowTextW(editControl, text.c_str());
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
