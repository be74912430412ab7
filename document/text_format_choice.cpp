// Choosing the format the next save writes.
#include "document/text_format_choice.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "encoding/text_detect.h"
#include "recovery/recovery.h"

namespace {

// The title's "*" and the recovery copy follow: the file no longer holds what a save writes.
void formatChanged(HWND window)
{
    Editor.updateTitle(window);
    Recovery.formatChanged(window);
}

} // namespace

void chooseEncoding(HWND window, Encoding encoding)
{
    if (encoding == Document.format().encoding)
        return;
    Document.choose(encoding);
    formatChanged(window);
}

void chooseLineEnd(HWND window, LineEnd lineEnd)
{
    // Only a file that mixes line ends has them noted, line by line, to be kept.
    if (lineEnd == LineEnd::asInFile && Document.lineEndForms().lf.empty()) {
        MessageBeep(MB_OK);
        return;
    }
    // Having chosen the line ends of a mixed file, the user needs no notice at the save.
    if (lineEnd == Document.format().lineEnd && !mixesLineEnds(Document.mixedLineEnds()))
        return;
    Document.choose(lineEnd);
    formatChanged(window);
}
