// Watching the edit control's text for changes.
#include "app/edit_changes.h"

#include "editor/document.h"
#include "editor/globals.h"
#include "recovery/recovery.h"
#include "ui/local_text.h"
#include "ui/text_range.h"

#include <algorithm>

namespace {

// Characters copied on each side of the selection: a CR LF or a surrogate pair that Backspace or
// Delete takes, and one more that stays, so that the change never reaches the copy's edge.
constexpr std::size_t margin = 3;

struct Watch {
    bool active = false;
    bool changed = false; // EN_CHANGE came while the message ran
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t length = 0;
    std::size_t from = 0;
    std::wstring text;                  // [from, from + text.size()) before the message
    bool kept = false;                  // false when the stretch was too large to copy
    std::optional<TextChange> expected; // the substitution Replace all said it makes
};

Watch watch;
bool making = false; // a change of the record is being made

bool isCharacterKey(WPARAM key)
{
    return key == VK_SPACE || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
           (key >= 0x60 && key <= 0x6F) || (key >= 0xBA && key <= 0xE7);
}

bool mayChangeText(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
        return true;
    case EM_REPLACESEL:
        // A text handed over with nothing to undo (Open) starts the record afresh instead.
        return wParam != FALSE;
    case WM_KEYDOWN:
        return wParam == VK_BACK || wParam == VK_DELETE || wParam == VK_RETURN ||
               wParam == VK_TAB || wParam == VK_INSERT || isCharacterKey(wParam);
    default:
        return false;
    }
}

// Typing and erasing a character at a time run on as one step; a selection replaced, a paste or a
// cut is a step of its own.
EditRecord::Kind kindOf(UINT message, WPARAM wParam, bool selected)
{
    const bool key = message == WM_KEYDOWN || message == WM_CHAR;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
    const bool erase = wParam == VK_BACK || (message == WM_KEYDOWN && wParam == VK_DELETE);
    if (key && erase && !shift && !selected)
        return EditRecord::Kind::erasing;
    if ((key && !erase && !control && wParam != VK_INSERT) || message == WM_IME_CHAR ||
        message == WM_IME_COMPOSITION)
        return EditRecord::Kind::typing;
    return EditRecord::Kind::other;
}

std::size_t textLength(HWND edit)
{
    return std::size_t(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
}

void begin(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    watch = {
        true, false, start, end, textLength(edit), 0, {}, false, Document.edits().takeExpected()};
    watch.from = start > margin ? start - margin : 0;
    const std::size_t to = std::min<std::size_t>(watch.length, std::size_t(end) + margin);
    // A stretch the record could not keep is not copied: the change it makes empties the record.
    // A substitution told beforehand needs no copy at all.
    if (!watch.expected && (to - watch.from) * sizeof(wchar_t) <= Document.edits().limit())
        watch.kept = readText(edit, watch.from, to - watch.from, watch.text);
}

// The record cannot tell what changed: it keeps no step rather than a wrong one.
void loseTrack()
{
    Document.edits().clear();
    Recovery.lostTrack();
}

// The substitution Replace all told of, if the control made just that change of length where
// the selection was.
std::optional<TextChange> expectedChange(std::size_t length)
{
    const std::optional<TextChange>& change = watch.expected;
    if (!change || change->position != watch.start)
        return std::nullopt;
    const Substitution& substitution = *change->substitution;
    if (watch.end - watch.start != substitution.before ||
        length + substitution.before != watch.length + substitution.after)
        return std::nullopt;
    return change;
}

void note(TextChange change, UINT message, WPARAM wParam)
{
    if (change.removed.empty() && change.inserted.empty() && !change.substitution)
        return;
    Recovery.textChanged(change, Document.edits().atSaved());
    Document.edits().note(std::move(change), kindOf(message, wParam, watch.end > watch.start),
                          GetTickCount());
}

void finish(HWND edit, UINT message, WPARAM wParam)
{
    watch.active = false;
    if (!watch.changed)
        return;
    const std::size_t length = textLength(edit);
    if (watch.expected) {
        if (std::optional<TextChange> change = expectedChange(length))
            note(std::move(*change), message, wParam);
        else
            loseTrack();
        return;
    }
    const std::size_t to = watch.from + watch.text.size();
    std::wstring after;
    if (!watch.kept || to + length < watch.length ||
        !readText(edit, watch.from, to + length - watch.length - watch.from, after)) {
        loseTrack();
        return;
    }
    std::optional<TextChange> change = changeBetween(
        watch.text, after, watch.from, watch.start - watch.from, watch.from > 0, to < watch.length);
    if (!change) {
        loseTrack();
        return;
    }
    note(std::move(*change), message, wParam);
}

} // namespace

LRESULT watchedMessage(HWND edit, WNDPROC original, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A message inside a watched one (WM_CHAR sent while WM_KEYDOWN runs) is covered by it.
    if (watch.active || making || !mayChangeText(message, wParam))
        return CallWindowProcW(original, edit, message, wParam, lParam);
    begin(edit);
    const LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
    finish(edit, message, wParam);
    return result;
}

void controlChangedText()
{
    if (watch.active)
        watch.changed = true;
    else if (!making)
        loseTrack();
}

namespace {

// The count characters at position replaced by text, not noted as a change of the user's, and
// what came in selected.
void replaceStretch(HWND edit, std::size_t position, std::size_t count, const wchar_t* text)
{
    making = true;
    SendMessageW(edit, EM_SETSEL, WPARAM(position), LPARAM(position + count));
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    making = false;
    const std::size_t inserted = std::wstring_view(text).size();
    SendMessageW(edit, EM_SETSEL, WPARAM(position), LPARAM(position + inserted));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

// A substitution made (or undone) in the control: the text up to the stretch's end read in one
// copy, the other stretch written beside it, and handed over whole. Local memory, as Replace all
// uses: neither block is filled before it is written. False without memory for them.
bool makeSubstitution(HWND edit, const TextChange& change, std::size_t length)
{
    const Substitution& substitution = *change.substitution;
    const std::size_t now = change.undoing ? substitution.after : substitution.before;
    const std::size_t next = change.undoing ? substitution.before : substitution.after;
    const std::size_t end = change.position + now;
    LocalText text(end);
    LocalText made(next);
    if (!text.data() || !made.data() || end > length ||
        GetWindowTextW(edit, text.data(), int(end + 1)) != int(end))
        return false;
    substitute(substitution, {text.data() + change.position, now}, change.undoing, made.data());
    made.data()[next] = L'\0';
    replaceStretch(edit, change.position, now, made.data());
    return textLength(edit) + now == length + next;
}

} // namespace

bool makeChange(HWND edit, const TextChange& change)
{
    const std::size_t length = textLength(edit);
    if (change.substitution)
        return makeSubstitution(edit, change, length);
    replaceStretch(edit, change.position, change.removed.size(), change.inserted.c_str());
    return textLength(edit) + change.removed.size() == length + change.inserted.size();
}
