// What the multi-line edit control does with its text, apart from drawing it: the selection, the
// typing limit, the one-step undo that toggles, and where the caret goes by characters and words.
// Qt-free; the widget turns keys, mouse and messages into these calls and sends the notifications.
#pragma once

#include "platform/text/text_store.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class EditModel {
public:
    // Windows' default for what the user may type; EM_SETLIMITTEXT changes it.
    static constexpr std::size_t defaultLimit = 32767;

    const TextStore& text() const { return store_; }

    // WM_SETTEXT: the new text, the caret at 0, nothing selected, nothing to undo. Not limited.
    void setText(std::wstring_view text);

    // The selection runs from the anchor to the caret (either order); empty when they meet.
    std::size_t anchor() const { return anchor_; }
    std::size_t caret() const { return caret_; }
    std::size_t selectionStart() const;
    std::size_t selectionEnd() const;
    bool hasSelection() const { return anchor_ != caret_; }
    // Both clamped to the text.
    void select(std::size_t anchor, std::size_t caret);
    // Moves the caret; with extend the anchor stays (Shift+arrow), without it the selection
    // collapses.
    void moveCaret(std::size_t position, bool extend);

    std::size_t limit() const { return limit_; }
    void setLimit(std::size_t limit) { limit_ = limit; }

    enum class Fit {
        whole,    // typing: all of it or nothing
        truncate, // paste: as much as there is room for, never half a CR LF
        unlimited // EM_REPLACESEL
    };
    // Replaces the selection with text and puts the caret after it. Returns false when the limit
    // refused some or all of it (the control then sends EN_MAXTEXT); changed() tells whether the
    // text changed at all.
    bool replaceSelection(std::wstring_view text, Fit fit);
    // Backspace and Delete: the selection if there is one, else the character (a CR LF pair as
    // one) or, with word, back to the previous word start / on to the next word start.
    void eraseBackward(bool word);
    void eraseForward(bool word);

    bool canUndo() const;
    void forgetUndo() { undo_ = UndoStep(); }
    // Undoes the last edit and makes the undo itself the next one to undo (a second undo redoes),
    // selecting what it put back. Consecutive typing, consecutive Backspace and consecutive Delete
    // each merge into one edit, as the user sees them.
    void undo();

    // True once after each call that changed the text (the control's EN_UPDATE/EN_CHANGE).
    bool takeChanged();
    // The first position the text changed at since the last call (the size when it did not): a
    // copy of the text taken then is still right before it.
    std::size_t takeEditedFrom();

    // What the last change of the text did, for those told about it afterwards: where, how many
    // characters went and came, and what went when it was short (empty when it was long).
    struct Edit {
        std::size_t position = 0;
        std::size_t removed = 0;
        std::size_t inserted = 0;
        std::wstring removedText;
    };
    static constexpr std::size_t keptRemoval = 4096;
    const Edit& lastEdit() const { return lastEdit_; }

    // Caret movement by characters (a CR LF pair is one step) and by words (words are separated by
    // spaces, tabs and line breaks; Ctrl+Right goes to the start of the next word).
    std::size_t previousPosition(std::size_t position) const;
    std::size_t nextPosition(std::size_t position) const;
    std::size_t previousWordStart(std::size_t position) const;
    std::size_t nextWordStart(std::size_t position) const;
    // The word around a position, for a double click: [start, end).
    std::size_t wordStart(std::size_t position) const;
    std::size_t wordEnd(std::size_t position) const;

private:
    struct UndoStep {
        std::size_t position = 0;
        TextStore::Stretch removed;
        std::size_t inserted = 0;
        enum class Kind { none, typing, backspace, deletion, other } kind = Kind::none;
    };

    void edit(std::size_t position, std::size_t count, std::wstring_view text, UndoStep::Kind kind);
    void eraseSelectionOr(std::size_t from, std::size_t to, UndoStep::Kind kind);
    void noteEdit(std::size_t position, std::size_t removed, std::size_t inserted);

    TextStore store_;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    std::size_t limit_ = defaultLimit;
    UndoStep undo_;
    bool changed_ = false;
    std::size_t editedFrom_ = 0;
    Edit lastEdit_;
};

} // namespace platform
