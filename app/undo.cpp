// Undo and Redo: the record's change made in the control, and the document saved again where the
// text is back at what its file holds.
#include "app/undo.h"

#include "app/edit_changes.h"
#include "app/status_bar.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "recovery/recovery.h"

namespace {

bool takeStep(HWND window, bool back)
{
    EditRecord& edits = Document.edits();
    if (back ? !edits.canUndo() : !edits.canRedo())
        return false;
    const bool fromFile = edits.atSaved();
    const TextChange change = back ? edits.undo() : edits.redo();
    // A control that could not take the change (no memory) holds a text no step leads from.
    if (makeChange(Editor.editControl, change)) {
        Recovery.textChanged(change, fromFile);
    } else {
        edits.clear();
        Recovery.lostTrack();
    }
    if (edits.atSaved()) {
        Document.backToSaved();
        if (Document.saved())
            Recovery.discard(window);
    }
    Editor.updateTitle(window);
    updateStatusBar();
    return true;
}

} // namespace

bool undoEdit(HWND window)
{
    return takeStep(window, true);
}

bool redoEdit(HWND window)
{
    return takeStep(window, false);
}
