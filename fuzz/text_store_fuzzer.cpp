// The edit control's text store and model: a random text, then random edits by text and by
// stretch, checked against a plain string after each (text, every line's start and length, every
// position's line, the longest line), then random user edits whose undo must toggle, with the
// flat copy that the control's handle locks kept up to date from where each edit began. The
// store's line index holds a few lines a block here, so edits split, join and empty its blocks.
#include "fuzz/check.h"
#include "platform/text/edit_model.h"
#include "platform/text/flat_text.h"
#include "platform/text/text_store.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using platform::EditModel;
using platform::FlatText;
using platform::TextStore;

namespace {

// Mostly line ends, blanks and letters; wide characters only when asked, so that most texts stay
// one byte per character and typed wide characters meet a narrow original.
std::wstring randomText(FuzzedDataProvider& input, std::size_t maxLength, bool wide)
{
    static constexpr wchar_t pick[] = {
        L'\r',         L'\n',         L'\r',           L'\n',           L'a', L'b', L' ', L'\t',
        wchar_t(0xE9), wchar_t(0xFF), wchar_t(0x20AC), wchar_t(0x1F600)};
    const std::size_t last = std::size(pick) - (wide ? 1 : 3);
    std::wstring text;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i)
        text += pick[input.ConsumeIntegralInRange<std::size_t>(0, last)];
    return text;
}

std::vector<std::size_t> modelStarts(const std::wstring& text)
{
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == L'\r' && text[i + 1] == L'\n')
            starts.push_back(i + 2);
    return starts;
}

void checkStore(const TextStore& store, const std::wstring& model, FuzzedDataProvider& input)
{
    require(store.size() == model.size(), "the size");
    require(store.text(0, model.size()) == model, "the text");
    const std::size_t from = input.ConsumeIntegralInRange<std::size_t>(0, model.size() + 2);
    const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, model.size() + 2);
    std::wstring buffer(count + 1, L'#');
    const std::size_t copied = store.copy(from, count, buffer.data());
    const std::wstring expected = from < model.size() ? model.substr(from, count) : L"";
    require(copied == expected.size() && buffer.substr(0, copied) == expected, "a clamped copy");
    require(buffer[copied] == L'#', "nothing copied past what was reported");
    require(store.at(from) == (from < model.size() ? model[from] : L'\0'), "one character");

    const std::vector<std::size_t> starts = modelStarts(model);
    require(store.lineCount() == starts.size(), "the line count");
    std::size_t longest = 0;
    for (std::size_t line = 0; line < starts.size(); ++line) {
        const std::size_t end = line + 1 < starts.size() ? starts[line + 1] - 2 : model.size();
        require(store.lineStart(line) == starts[line], "a line start");
        require(store.lineLength(line) == end - starts[line], "a line length");
        longest = std::max(longest, end - starts[line]);
        // The position between a CR and its LF belongs to the line they end.
        const std::size_t last = line + 1 < starts.size() ? end + 1 : end;
        for (std::size_t position = starts[line]; position <= last; ++position)
            require(store.lineOf(position) == line, "the line of a position");
    }
    require(store.longestLine() == longest, "the longest line");
}

// Random edits by text and by a stretch of the text itself, some of it kept across later edits.
void fuzzStore(FuzzedDataProvider& input)
{
    const bool wide = input.ConsumeBool();
    std::wstring model = randomText(input, 120, wide && input.ConsumeBool());
    // Shared buffers for large insertions small enough to fill up within a run.
    TextStore store(input.ConsumeIntegralInRange<std::size_t>(2, 5),
                    input.ConsumeIntegralInRange<std::size_t>(4096, 20000));
    store.assign(model);
    checkStore(store, model, input);
    TextStore::Stretch kept;
    std::wstring keptText;
    for (int edit = 0; edit < 12 && input.remaining_bytes() > 0; ++edit) {
        std::size_t position = input.ConsumeIntegralInRange<std::size_t>(0, model.size() + 2);
        std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, model.size() + 2);
        const int kind = input.ConsumeIntegralInRange<int>(0, 3);
        if (kind == 1) {
            const std::size_t from = input.ConsumeIntegralInRange<std::size_t>(0, model.size());
            const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 40);
            kept = store.stretch(from, length);
            keptText = model.substr(from, length);
            require(TextStore::lengthOf(kept) == keptText.size(), "a stretch's length");
        }
        position = std::min(position, model.size());
        count = std::min(count, model.size() - position);
        if (kind == 0 || kind == 3) {
            std::wstring text = randomText(input, 40, wide);
            // A large insertion, as a file's piece or a paste: a short text over and over.
            while (kind == 3 && !text.empty() && text.size() < 4096)
                text += text;
            store.replace(position, count, text);
            model.replace(position, count, text);
        } else {
            store.replace(position, count, kept);
            model.replace(position, count, keptText);
        }
        checkStore(store, model, input);
    }
}

// Paste: the text cut to the room, never between a CR and its LF, and told when it was cut.
void paste(EditModel& edit, const std::wstring& text)
{
    const std::wstring before = edit.text().text(0, edit.text().size());
    const std::size_t start = edit.selectionStart(), end = edit.selectionEnd();
    const bool whole = edit.replaceSelection(text, EditModel::Fit::truncate);
    const std::wstring after = edit.text().text(0, edit.text().size());
    if (!whole && after == before)
        return;
    const std::size_t fitted = edit.caret() - start;
    require(fitted <= text.size() && whole == (fitted == text.size()), "what fitted is told");
    require(after == before.substr(0, start) + text.substr(0, fitted) + before.substr(end),
            "the start of the pasted text replaces the selection");
    require(whole || fitted == 0 || text[fitted - 1] != L'\r' || text[fitted] != L'\n',
            "never half a line break");
}

void userEdit(EditModel& edit, FuzzedDataProvider& input)
{
    const std::size_t size = edit.text().size();
    if (input.ConsumeBool())
        edit.select(input.ConsumeIntegralInRange<std::size_t>(0, size + 1),
                    input.ConsumeIntegralInRange<std::size_t>(0, size + 1));
    switch (input.ConsumeIntegralInRange<int>(0, 5)) {
    case 0:
        edit.replaceSelection(randomText(input, 2, true), EditModel::Fit::whole);
        require(edit.text().size() <= std::max(size, edit.limit()), "typing within the limit");
        break;
    case 1:
        paste(edit, randomText(input, 10, true));
        require(edit.text().size() <= std::max(size, edit.limit()), "paste within the limit");
        break;
    case 2: {
        const std::wstring before = edit.text().text(0, size);
        const std::size_t start = edit.selectionStart(), end = edit.selectionEnd();
        const std::wstring text = randomText(input, 6, true);
        edit.replaceSelection(text, EditModel::Fit::unlimited);
        require(edit.text().text(0, edit.text().size()) ==
                    before.substr(0, start) + text + before.substr(end),
                "the selection replaced");
        require(edit.caret() == start + text.size() && !edit.hasSelection(), "caret after it");
        break;
    }
    case 3:
        edit.eraseBackward(input.ConsumeBool());
        break;
    case 4:
        edit.eraseForward(input.ConsumeBool());
        break;
    default:
        edit.undo();
        break;
    }
}

// Whatever the user did last, undo takes it back and a second undo gives it again.
void fuzzUndo(FuzzedDataProvider& input)
{
    EditModel edit;
    const std::wstring start = randomText(input, 60, input.ConsumeBool());
    edit.setText(start);
    edit.setLimit(input.ConsumeIntegralInRange<std::size_t>(0, 80));
    FlatText flat;
    for (int step = 0; step < 16 && input.remaining_bytes() > 0; ++step) {
        userEdit(edit, input);
        // Brought up to date now and then, so that several edits fall between two updates.
        if (input.ConsumeBool()) {
            const wchar_t* copy = flat.update(edit.text(), edit.takeEditedFrom());
            require(copy && copy == edit.text().text(0, edit.text().size()), "the flat copy");
        }
        // Checking only now and then lets typing, Backspace and Delete merge in between.
        if (!edit.canUndo() || input.ConsumeBool())
            continue;
        const std::wstring done = edit.text().text(0, edit.text().size());
        edit.undo();
        const std::wstring undone = edit.text().text(0, edit.text().size());
        require(edit.selectionEnd() <= undone.size(), "the selection inside the text");
        checkStore(edit.text(), undone, input);
        edit.undo();
        require(edit.text().text(0, edit.text().size()) == done, "a second undo redoes");
        checkStore(edit.text(), done, input);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool())
        fuzzStore(input);
    else
        fuzzUndo(input);
    return 0;
}
