// Saving the document and the save question of New, Open and closing.
#include "document/save.h"

#include "app/editor.h"
#include "app/globals.h"
#include "app/window_parts.h"
#include "document/file_io.h"
#include "document/file_messages.h"
#include "document/path_dialog.h"
#include "document/text_bytes.h"
#include "document/title.h"

namespace {

// A name without any dot gets ".txt"; dots in folder names do not count.
std::wstring withDefaultExtension(const std::wstring& path)
{
    return fileNameOf(path).find(L'.') == std::wstring::npos ? path + L".txt" : path;
}

} // namespace

bool Editor::writeFile(HWND window, std::wstring path)
{
    const std::wstring text = windowText(editControl);
    const std::size_t unwritable = firstUnwritable(text);
    if (unwritable != std::wstring::npos) {
        tellUser(window, unwritableCharacter(path, text, unwritable), MB_ICONERROR);
        return false;
    }
    // Converted piece by piece as it is written, so the text never exists a second time as bytes.
    std::wstring_view rest = text;
    const DWORD error = writeWholeFile(path, [&rest](char* out, std::size_t room) {
        const std::wstring_view piece = rest.substr(0, room);
        bytesFromText(piece, out);
        rest.remove_prefix(piece.size());
        return piece.size();
    });
    if (error != ERROR_SUCCESS) {
        tellUser(window, saveFailure(path, error), MB_ICONERROR);
        return false;
    }
    saved = true;
    filePath = std::move(path);
    fileName = fileNameOf(filePath);
    updateTitle(window);
    return true;
}

bool Editor::saveAs(HWND window)
{
    std::wstring chosen;
    if (!choosePath(window, PathDialog::saveAs, chosen))
        return false;
    const std::wstring path = withDefaultExtension(chosen);
    // Any existing file counts, also one we may not read: the warning protects its contents.
    if (fileExists(path)) {
        MessageBeep(MB_ICONEXCLAMATION);
        if (MessageBoxW(window, L"File with that name already exists. Do you wish to overwrite it?",
                        L"Warning", MB_ICONEXCLAMATION | MB_YESNO) != IDYES)
            return false;
    }
    return writeFile(window, path);
}

bool Editor::save(HWND window)
{
    // The document's own file keeps its own name: no extension is added here.
    if (fileName.empty())
        return saveAs(window);
    return writeFile(window, filePath);
}

bool mayDropText(HWND window)
{
    if (Editor.saved)
        return true;
    const int answer =
        MessageBoxW(window, L"Would you like to save changes in the current document?",
                    productName.c_str(), MB_YESNO | MB_ICONQUESTION);
    return answer != IDYES || Editor.save(window);
}

void Editor::newDocument(HWND window, bool keepWindow)
{
    if (!mayDropText(window)) {
        // Keep the window and the text when the save did not happen: going on would lose them.
        updateTitle(window);
        return;
    }
    // A new document has no file: a later Save asks for a name instead of overwriting the last one.
    SetWindowTextW(editControl, L"");
    saved = true;
    filePath.clear();
    fileName.clear();
    SetFocus(editControl);
    if (keepWindow)
        updateTitle(window);
    else
        DestroyWindow(window);
}
