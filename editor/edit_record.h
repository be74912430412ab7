// The document's own record of its edits, as they happen: what each step removed and inserted,
// where, so that Undo and Redo can walk back and forth through all of them, and the recovery
// journal can write each one down. The edit control keeps one step and tells only that something
// changed; this record is the editor's, the same on every platform.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Every occurrence of a text in a stretch replaced by one text (Replace all), kept as the places
// and what was found there: the step costs what changed, not a copy of the stretch.
struct Substitution {
    std::vector<std::size_t> places; // each occurrence's start, from the stretch's start, before
    std::wstring found;              // the occurrences as they were, one after another
    std::size_t foundLength = 0;     // each occurrence's length
    std::wstring replacement;
    std::size_t before = 0; // the stretch's length before and after
    std::size_t after = 0;
};

// The stretch as it is now (before the substitution, or after it when undoing) made into the
// other, written to out, which has room for it (after, or before).
void substitute(const Substitution& substitution, std::wstring_view stretch, bool undoing,
                wchar_t* out);

// At position, the text removed was replaced by the text inserted; or, for a substitution, the
// stretch at position was substituted (or, undoing, given back).
struct TextChange {
    TextChange() = default;
    TextChange(std::size_t at, std::wstring gone, std::wstring put)
        : position(at), removed(std::move(gone)), inserted(std::move(put))
    {
    }

    std::size_t position = 0;
    std::wstring removed;
    std::wstring inserted;
    std::shared_ptr<const Substitution> substitution;
    bool undoing = false;
};

// The one change that turns before into after, two copies of the same stretch of the text taken
// around an edit: their common start (at most prefixLimit long, where the edit is known to start
// no later) and their common end are what stayed. Nothing when the change reaches an end of the
// stretch that is not an end of the text (openStart, openEnd): it may go on beyond what was copied.
std::optional<TextChange> changeBetween(std::wstring_view before, std::wstring_view after,
                                        std::size_t from, std::size_t prefixLimit, bool openStart,
                                        bool openEnd);

class EditRecord {
public:
    // How a change joins the one before it: typing runs on up to a word boundary or a pause,
    // Backspace and Delete run on until a pause; anything else is a step of its own.
    enum class Kind { typing, erasing, other };

    // Steps older than the newest ones that fit in this many bytes of text simply go.
    explicit EditRecord(std::size_t limitBytes = defaultLimit) : limit_(limitBytes) {}

    // The change just made to the text at time (milliseconds, as GetTickCount counts). Drops the
    // steps that were undone; joins the last step or starts a new one.
    void note(TextChange change, Kind kind, unsigned long time);
    // The next change starts a step of its own (the caret moved, a command ran).
    void endStep() { joinable_ = false; }
    // The next change will be this substitution at position (Replace all tells it before it
    // hands the control its stretch); taken once.
    void expect(std::size_t position, std::shared_ptr<const Substitution> substitution);
    std::optional<TextChange> takeExpected();

    bool canUndo() const { return applied_ > 0; }
    bool canRedo() const { return applied_ < steps_.size(); }
    // The change that undoes the last step, and the one that makes the next undone step again,
    // each to be made as any change is: at position, removed gives way to inserted. The record
    // moves one step back or on.
    TextChange undo();
    TextChange redo();

    // No steps at all: the text was set whole, or the record lost track of it.
    void clear();
    // The text as it is now is what the file holds; or no text the steps lead to is.
    void markSaved();
    void forgetSaved() { saved_ = -1; }
    // Whether the text is as it was when markSaved was last called.
    bool atSaved() const { return saved_ == long(applied_); }

    std::size_t steps() const { return steps_.size(); }
    // How many changes were noted so far, joined or not.
    std::size_t noted() const { return noted_; }
    std::size_t bytes() const { return bytes_; }
    std::size_t limit() const { return limit_; }
    void setLimit(std::size_t limitBytes);

    static constexpr std::size_t defaultLimit = std::size_t(256) << 20;
    // Typing pauses longer than this start a new step.
    static constexpr unsigned long pause = 1000;

private:
    bool joins(const TextChange& change, Kind kind, unsigned long time) const;
    void join(TextChange& last, TextChange&& change);
    void dropOldest();
    static std::size_t sizeOf(const TextChange& change);

    std::deque<TextChange> steps_;
    std::size_t applied_ = 0; // the steps made and not undone, from the front
    long saved_ = 0;          // applied_ when the text was saved; -1 when no step leads back there
    std::size_t bytes_ = 0;
    std::size_t noted_ = 0;
    std::size_t limit_;
    Kind lastKind_ = Kind::other;
    unsigned long lastTime_ = 0;
    bool joinable_ = false;
    std::optional<TextChange> expected_;
};
