// The steps of the document's edits, joined as the user sees them.
#include "editor/edit_record.h"

#include <algorithm>
#include <utility>

namespace {

bool isSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// A typed run ends where a word starts after spaces: "one two" undoes as "two", then "one ".
bool startsWord(const std::wstring& before, const std::wstring& typed)
{
    return !before.empty() && !typed.empty() && isSpace(before.back()) && !isSpace(typed.front());
}

} // namespace

std::optional<TextChange> changeBetween(std::wstring_view before, std::wstring_view after,
                                        std::size_t from, std::size_t prefixLimit, bool openStart,
                                        bool openEnd)
{
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t prefix = 0;
    while (prefix < std::min(shorter, prefixLimit) && before[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    if ((openStart && prefix == 0) || (openEnd && suffix == 0))
        return std::nullopt;
    return TextChange{from + prefix,
                      std::wstring(before.substr(prefix, before.size() - suffix - prefix)),
                      std::wstring(after.substr(prefix, after.size() - suffix - prefix))};
}

void substitute(const Substitution& substitution, std::wstring_view stretch, bool undoing,
                wchar_t* out)
{
    const std::wstring_view replacement = substitution.replacement;
    const std::size_t foundLength = substitution.foundLength;
    const auto put = [&out](std::wstring_view part) {
        out = std::copy(part.begin(), part.end(), out);
    };
    std::size_t at = 0;
    for (std::size_t i = 0; i < substitution.places.size(); ++i) {
        // Each occurrence before this one changed the length by the difference of the two.
        const std::size_t place =
            undoing ? substitution.places[i] - i * foundLength + i * replacement.size()
                    : substitution.places[i];
        put(stretch.substr(at, place - at));
        put(undoing ? std::wstring_view(substitution.found).substr(i * foundLength, foundLength)
                    : replacement);
        at = place + (undoing ? replacement.size() : foundLength);
    }
    put(stretch.substr(std::min(at, stretch.size())));
}

std::size_t EditRecord::sizeOf(const TextChange& change)
{
    constexpr std::size_t stepOverhead = 64;
    std::size_t units = change.removed.size() + change.inserted.size();
    if (const Substitution* substitution = change.substitution.get())
        units += substitution->places.size() * sizeof(std::size_t) / sizeof(wchar_t) +
                 substitution->found.size() + substitution->replacement.size();
    return units * sizeof(wchar_t) + stepOverhead;
}

void EditRecord::expect(std::size_t position, std::shared_ptr<const Substitution> substitution)
{
    expected_ = TextChange(position, {}, {});
    expected_->substitution = std::move(substitution);
}

std::optional<TextChange> EditRecord::takeExpected()
{
    return std::exchange(expected_, std::nullopt);
}

bool EditRecord::joins(const TextChange& change, Kind kind, unsigned long time) const
{
    if (!joinable_ || steps_.empty() || kind != lastKind_ || kind == Kind::other ||
        change.substitution || steps_.back().substitution || saved_ == long(applied_) ||
        time - lastTime_ > pause)
        return false;
    const TextChange& last = steps_.back();
    if (kind == Kind::typing)
        return change.removed.empty() && change.position == last.position + last.inserted.size() &&
               !startsWord(last.inserted, change.inserted);
    // Backspace runs back from the step's start, Delete on from the same place.
    return change.inserted.empty() && last.inserted.empty() &&
           (change.position + change.removed.size() == last.position ||
            change.position == last.position);
}

void EditRecord::join(TextChange& last, TextChange&& change)
{
    if (!change.inserted.empty())
        last.inserted += change.inserted;
    else if (change.position < last.position) {
        last.removed.insert(0, change.removed);
        last.position = change.position;
    } else
        last.removed += change.removed;
}

void EditRecord::note(TextChange change, Kind kind, unsigned long time)
{
    // A new edit after undoing: the undone steps can no longer be made again.
    while (steps_.size() > applied_) {
        bytes_ -= sizeOf(steps_.back());
        steps_.pop_back();
    }
    if (saved_ > long(applied_))
        saved_ = -1;
    if (joins(change, kind, time)) {
        bytes_ -= sizeOf(steps_.back());
        join(steps_.back(), std::move(change));
        bytes_ += sizeOf(steps_.back());
    } else {
        bytes_ += sizeOf(change);
        steps_.push_back(std::move(change));
        ++applied_;
    }
    ++noted_;
    lastKind_ = kind;
    lastTime_ = time;
    joinable_ = true;
    while (bytes_ > limit_ && !steps_.empty())
        dropOldest();
}

void EditRecord::dropOldest()
{
    // The oldest undone step is the first of the redo chain: without it nothing after it can be
    // made again, so the whole record goes.
    if (applied_ == 0) {
        clear();
        return;
    }
    bytes_ -= sizeOf(steps_.front());
    steps_.pop_front();
    --applied_;
    saved_ = saved_ > 0 ? saved_ - 1 : -1;
}

TextChange EditRecord::undo()
{
    joinable_ = false;
    const TextChange& step = steps_[--applied_];
    TextChange back(step.position, step.inserted, step.removed);
    back.substitution = step.substitution;
    back.undoing = !step.undoing;
    return back;
}

TextChange EditRecord::redo()
{
    joinable_ = false;
    return steps_[applied_++];
}

void EditRecord::clear()
{
    steps_.clear();
    applied_ = 0;
    saved_ = -1;
    bytes_ = 0;
    joinable_ = false;
}

void EditRecord::markSaved()
{
    saved_ = long(applied_);
    joinable_ = false;
}

void EditRecord::setLimit(std::size_t limitBytes)
{
    limit_ = limitBytes;
    while (bytes_ > limit_ && !steps_.empty())
        dropOldest();
}
