// The encoding and line-end submenus, and choosing the format the next save writes.
#include "document/encoding_menus.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "encoding/text_detect.h"
#include "recovery/recovery.h"

#include <iterator>

namespace {

constexpr Encoding encodings[] = {Encoding::eightBit, Encoding::utf8, Encoding::utf8WithMark,
                                  Encoding::utf16Le, Encoding::utf16Be};
constexpr LineEnd lineEnds[] = {LineEnd::crLf, LineEnd::lf, LineEnd::cr};

UINT commandOf(Encoding encoding)
{
    return commandEncoding + UINT(encoding);
}

UINT commandOf(LineEnd lineEnd)
{
    return commandLineEnd + UINT(lineEnd);
}

template <typename Choice, std::size_t count>
bool chosen(WPARAM command, const Choice (&choices)[count], Choice& choice)
{
    for (const Choice candidate : choices) {
        if (commandOf(candidate) == command) {
            choice = candidate;
            return true;
        }
    }
    return false;
}

} // namespace

void appendEncodingMenus(HMENU menu)
{
    for (const Encoding encoding : encodings)
        AppendMenuW(Editor.encodingMenu, MF_STRING, commandOf(encoding), nameOf(encoding));
    for (const LineEnd lineEnd : lineEnds)
        AppendMenuW(Editor.lineEndMenu, MF_STRING, commandOf(lineEnd), nameOf(lineEnd));
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Editor.encodingMenu), L"Encoding");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Editor.lineEndMenu), L"Line ends");
}

void showTextFormat(HMENU popup)
{
    if (popup == Editor.encodingMenu)
        CheckMenuRadioItem(popup, commandOf(encodings[0]),
                           commandOf(encodings[std::size(encodings) - 1]),
                           commandOf(Document.format().encoding), MF_BYCOMMAND);
    else if (popup == Editor.lineEndMenu)
        CheckMenuRadioItem(popup, commandOf(lineEnds[0]),
                           commandOf(lineEnds[std::size(lineEnds) - 1]),
                           commandOf(Document.format().lineEnd), MF_BYCOMMAND);
}

void runTextFormatCommand(HWND window, WPARAM command)
{
    const TextFormat now = Document.format();
    TextFormat format = now;
    bool changes = false;
    if (chosen(command, encodings, format.encoding)) {
        changes = format.encoding != now.encoding;
    } else if (chosen(command, lineEnds, format.lineEnd)) {
        // A mixed file changes on the next save whichever form is chosen; having chosen it, the
        // user needs no notice at the save.
        changes = format.lineEnd != now.lineEnd || mixesLineEnds(Document.mixedLineEnds());
    }
    if (changes) {
        Document.choose(format);
        Editor.updateTitle(window);
        Recovery.documentChanged(window);
    }
}
