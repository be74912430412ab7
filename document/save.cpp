// Saving the document and the save question of New, Open and closing.
#include "document/save.h"

#include "document/file_change.h"
#include "document/file_messages.h"
#include "document/path_dialog.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "encoding/text_detect.h"
#include "encoding/text_writer.h"
#include "files/file_errors.h"
#include "files/file_identity.h"
#include "files/file_io.h"
#include "recovery/recovery.h"
#include "ui/text_pieces.h"
#include "ui/window_parts.h"

#include <optional>
#include <utility>

namespace {

// A name without any dot gets ".txt"; dots in folder names do not count.
std::wstring withDefaultExtension(const std::wstring& path)
{
    return fileNameOf(path).find(L'.') == std::wstring::npos ? path + L".txt" : path;
}

bool yes(HWND window, const std::wstring& question)
{
    return MessageBoxW(window, question.c_str(), productName.c_str(), MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

// A character the encoding cannot store is not dropped or replaced: the user may save in an
// encoding that holds it (UTF-8, or UTF-16 for half of a surrogate pair), or not at all.
bool mayStore(HWND window, const std::wstring& path, std::wstring_view text, Encoding& encoding)
{
    const std::size_t offset = firstUnstorable(text, encoding);
    if (offset == std::wstring_view::npos)
        return true;
    const Encoding instead = firstUnstorable(text, Encoding::utf8) == std::wstring_view::npos
                                 ? Encoding::utf8
                                 : Encoding::utf16Le;
    if (!yes(window, unstorableCharacter(path, text, offset, encoding, instead)))
        return false;
    encoding = instead;
    return true;
}

// A file that mixes line ends is kept as it is, or written in one form, as the user says. A text
// restored from a recovery copy has no line's form noted: it can only be written in one.
bool mayChangeLineEnds(HWND window, const std::wstring& path, const LineEndCounts& mixed,
                       const LineEndForms& forms, LineEnd& lineEnd)
{
    if (forms.lf.empty())
        return yes(window, mixedLineEndsNotice(path, mixed, lineEnd));
    switch (MessageBoxW(window, mixedLineEndsQuestion(path, mixed, lineEnd).c_str(),
                        productName.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        lineEnd = LineEnd::asInFile;
        return true;
    case IDNO:
        return true;
    default:
        return false;
    }
}

// The control's text as a file's bytes, read and converted a run of lines at a time, so that a
// save holds a few megabytes besides the document whatever its size. It stops at a character the
// encoding cannot store, before the file is touched.
class ControlBytes {
public:
    ControlBytes(HWND edit, TextFormat format, const LineEndForms& forms)
        : format_(format), place_{&forms}
    {
        pieces_.start(edit);
    }

    // Fills the room whole, but for the end: the pieces of the text do not show in the file's.
    std::size_t write(char* out, std::size_t room)
    {
        // Small enough that the piece is still in the cache when it is checked and converted.
        constexpr std::size_t pieceCharacters = 64 << 10;
        constexpr std::size_t leastRoom = 16; // what TextWriter needs to go on
        std::size_t used = 0;
        while (room - used >= leastRoom) {
            if (writer_) {
                const std::size_t count = writer_->write(out + used, room - used);
                used += count;
                if (count)
                    continue;
            }
            const TextPieces::Next next = pieces_.next(pieceCharacters, piece_);
            if (next == TextPieces::Next::end)
                break;
            if (next == TextPieces::Next::failed ||
                firstUnstorable(piece_, format_.encoding) != std::wstring_view::npos)
                return stopWriting;
            writer_.emplace(piece_, format_, !writer_, &place_);
        }
        return used;
    }

private:
    TextPieces pieces_;
    TextFormat format_;
    LineEndPlace place_;
    std::wstring piece_;
    std::optional<TextWriter> writer_;
};

// The user's own folder, where a file's copy is set aside while it is written in place.
std::wstring asideFolder()
{
    return recoveryFolder(true);
}

DWORD writeText(const std::wstring& path, std::wstring_view text, TextFormat format,
                const LineEndForms& forms, HalfDone& left)
{
    // Converted piece by piece as it is written, so the text never exists a second time as bytes.
    LineEndPlace place{&forms};
    TextWriter writer(text, format, true, &place);
    return writeWholeFile(
        path, [&writer](char* out, std::size_t room) { return writer.write(out, room); }, &left,
        asideFolder);
}

} // namespace

bool Editor::writeFile(HWND window, std::wstring path)
{
    TextFormat format = Document.format();
    const LineEndCounts& mixed = Document.mixedLineEnds();
    LineEndForms forms = Document.lineEndForms();
    if (mixesLineEnds(mixed) && !mayChangeLineEnds(window, path, mixed, forms, format.lineEnd))
        return false;
    ControlBytes bytes(editControl, format, forms);
    HalfDone left;
    // A file in a folder the user may not write is written in place, its copy set aside in the
    // user's own folder.
    DWORD error = writeWholeFile(
        path, [&bytes](char* out, std::size_t room) { return bytes.write(out, room); }, &left,
        asideFolder);
    if (error == ERROR_CANCELLED) {
        // A character the encoding lacks: the whole text shows the user where it is, and the
        // file is written from it in the encoding the user then chooses.
        const WholeText fetched = wholeText(editControl);
        if (!mayStore(window, path, fetched.text, format.encoding))
            return false;
        error = writeText(path, fetched.text, format, forms, left);
    }
    if (error != ERROR_SUCCESS) {
        // The file holds what it held before: the document still knows it, though its times moved.
        if (left.putBack && path == Document.filePath())
            Document.knowFile(identityOf(path));
        tellUser(window, saveFailure(path, error, left), MB_ICONERROR);
        return false;
    }
    // The file now has the forms only when they were kept.
    Document.adopt(path, identityOf(path), format, {}, true,
                   format.lineEnd == LineEnd::asInFile ? std::move(forms) : LineEndForms{});
    updateTitle(window);
    Recovery.discard(window);
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
    if (Document.filePath().empty())
        return saveAs(window);
    return mayReplaceFile(window) && writeFile(window, Document.filePath());
}

bool mayDropText(HWND window)
{
    if (Document.saved())
        return true;
    // Cancel, Esc, the close box and a box that could not be shown (0) all keep the text.
    switch (MessageBoxW(window, L"Would you like to save changes in the current document?",
                        productName.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return Editor.save(window);
    case IDNO:
        return true;
    default:
        return false;
    }
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
    Document.forget();
    Recovery.discard(window);
    SetFocus(editControl);
    if (keepWindow)
        updateTitle(window);
    else
        DestroyWindow(window);
}
