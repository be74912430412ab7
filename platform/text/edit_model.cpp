// The edit control's selection, typing limit, toggling undo and caret steps over its text store.
#include "platform/text/edit_model.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

bool isLineBreak(wchar_t c)
{
    return c == L'\r' || c == L'\n';
}

bool isSeparator(wchar_t c)
{
    return c == L' ' || c == L'\t' || isLineBreak(c);
}

// What a double click takes together: a word, a run of blanks, or a run of line break characters.
int classOf(wchar_t c)
{
    return isLineBreak(c) ? 2 : isSeparator(c) ? 1 : 0;
}

} // namespace

void EditModel::setText(std::wstring_view text)
{
    noteEdit(0, store_.size(), text.size());
    store_.assign(text);
    anchor_ = caret_ = 0;
    undo_ = UndoStep();
    changed_ = true;
    editedFrom_ = 0;
}

std::size_t EditModel::selectionStart() const
{
    return std::min(anchor_, caret_);
}

std::size_t EditModel::selectionEnd() const
{
    return std::max(anchor_, caret_);
}

void EditModel::select(std::size_t anchor, std::size_t caret)
{
    anchor_ = std::min(anchor, store_.size());
    caret_ = std::min(caret, store_.size());
}

void EditModel::moveCaret(std::size_t position, bool extend)
{
    caret_ = std::min(position, store_.size());
    if (!extend)
        anchor_ = caret_;
}

bool EditModel::replaceSelection(std::wstring_view text, Fit fit)
{
    const std::size_t start = selectionStart();
    const std::size_t selected = selectionEnd() - start;
    const std::size_t kept = store_.size() - selected;
    const std::size_t room = kept < limit_ ? limit_ - kept : 0;
    std::size_t length = text.size();
    if (fit == Fit::whole && length > room)
        return false;
    if (fit == Fit::truncate && length > room) {
        length = room;
        // Half a line break would leave a lone CR where the user pasted a line end.
        if (length > 0 && text[length - 1] == L'\r' && text[length] == L'\n')
            --length;
        // Nothing of the pasted text fits: the selection stays rather than vanishing.
        if (length == 0)
            return false;
    }
    const auto kind = fit == Fit::whole ? UndoStep::Kind::typing : UndoStep::Kind::other;
    edit(start, selected, text.substr(0, length), kind);
    return length == text.size();
}

void EditModel::eraseBackward(bool word)
{
    eraseSelectionOr(word ? previousWordStart(caret_) : previousPosition(caret_), caret_,
                     UndoStep::Kind::backspace);
}

void EditModel::eraseForward(bool word)
{
    eraseSelectionOr(caret_, word ? nextWordStart(caret_) : nextPosition(caret_),
                     UndoStep::Kind::deletion);
}

// A key that erases takes the selection when there is one, else the range it reaches.
void EditModel::eraseSelectionOr(std::size_t from, std::size_t to, UndoStep::Kind kind)
{
    if (hasSelection()) {
        from = selectionStart();
        to = selectionEnd();
    }
    edit(from, to - from, {}, kind);
}

// Records the edit for undo, merging it into the last one when it continues it: a typed
// character right after the typed ones, a Backspace just before what Backspace removed, a
// Delete where Delete removed.
void EditModel::edit(std::size_t position, std::size_t count, std::wstring_view text,
                     UndoStep::Kind kind)
{
    if (count == 0 && text.empty())
        return;
    const bool continues = kind == undo_.kind && kind != UndoStep::Kind::other;
    TextStore::Stretch removed = store_.stretch(position, count);
    if (continues && kind == UndoStep::Kind::typing && count == 0 &&
        position == undo_.position + undo_.inserted) {
        undo_.inserted += text.size();
    } else if (continues && kind == UndoStep::Kind::backspace &&
               position + count == undo_.position) {
        TextStore::append(removed, undo_.removed);
        undo_.removed = std::move(removed);
        undo_.position = position;
    } else if (continues && kind == UndoStep::Kind::deletion && position == undo_.position) {
        TextStore::append(undo_.removed, removed);
    } else {
        undo_ = {position, std::move(removed), text.size(), kind};
    }
    noteEdit(position, count, text.size());
    store_.replace(position, count, text);
    anchor_ = caret_ = position + text.size();
    changed_ = true;
    editedFrom_ = std::min(editedFrom_, position);
}

// Called before the store changes, while what goes is still there to copy.
void EditModel::noteEdit(std::size_t position, std::size_t removed, std::size_t inserted)
{
    lastEdit_ = {position, removed, inserted,
                 removed <= keptRemoval ? store_.text(position, removed) : std::wstring()};
}

bool EditModel::canUndo() const
{
    return undo_.kind != UndoStep::Kind::none;
}

void EditModel::undo()
{
    if (!canUndo())
        return;
    TextStore::Stretch inserted = store_.stretch(undo_.position, undo_.inserted);
    const std::size_t restored = TextStore::lengthOf(undo_.removed);
    noteEdit(undo_.position, undo_.inserted, restored);
    store_.replace(undo_.position, undo_.inserted, undo_.removed);
    editedFrom_ = std::min(editedFrom_, undo_.position);
    anchor_ = undo_.position;
    caret_ = undo_.position + restored;
    // The undo is the next edit to undo, and nothing typed after it continues it.
    undo_ = {undo_.position, std::move(inserted), restored, UndoStep::Kind::other};
    changed_ = true;
}

bool EditModel::takeChanged()
{
    return std::exchange(changed_, false);
}

std::size_t EditModel::takeEditedFrom()
{
    return std::min(std::exchange(editedFrom_, store_.size()), store_.size());
}

std::size_t EditModel::previousPosition(std::size_t position) const
{
    position = std::min(position, store_.size());
    if (position >= 2 && store_.at(position - 1) == L'\n' && store_.at(position - 2) == L'\r')
        return position - 2;
    return position > 0 ? position - 1 : 0;
}

std::size_t EditModel::nextPosition(std::size_t position) const
{
    if (position >= store_.size())
        return store_.size();
    if (store_.at(position) == L'\r' && store_.at(position + 1) == L'\n')
        return position + 2;
    return position + 1;
}

std::size_t EditModel::previousWordStart(std::size_t position) const
{
    position = std::min(position, store_.size());
    while (position > 0 && isSeparator(store_.at(position - 1)))
        --position;
    while (position > 0 && !isSeparator(store_.at(position - 1)))
        --position;
    return position;
}

std::size_t EditModel::nextWordStart(std::size_t position) const
{
    const std::size_t size = store_.size();
    while (position < size && !isSeparator(store_.at(position)))
        ++position;
    while (position < size && isSeparator(store_.at(position)))
        ++position;
    return std::min(position, size);
}

std::size_t EditModel::wordStart(std::size_t position) const
{
    if (store_.size() == 0)
        return 0;
    position = std::min(position, store_.size() - 1);
    const int kind = classOf(store_.at(position));
    while (position > 0 && classOf(store_.at(position - 1)) == kind)
        --position;
    return position;
}

std::size_t EditModel::wordEnd(std::size_t position) const
{
    const std::size_t size = store_.size();
    if (size == 0)
        return 0;
    position = std::min(position, size - 1);
    const int kind = classOf(store_.at(position));
    while (position < size && classOf(store_.at(position)) == kind)
        ++position;
    return position;
}

} // namespace platform
