// Word and line items over the text store, read in windows of a bounded size.
#include "platform/qt/accessibility/text_items_p.h"

#include <algorithm>
#include <string>

namespace platform {

namespace {

bool isSeparator(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// The part of [start, end) of at most longestItem characters, counted from start, that holds the
// position.
TextItem partOf(std::size_t start, std::size_t end, std::size_t position)
{
    const std::size_t partStart = start + (position - start) / longestItem * longestItem;
    return {partStart, std::min(end, partStart + longestItem)};
}

TextItem lineAt(const TextStore& store, std::size_t position)
{
    const std::size_t line = store.lineOf(position);
    const std::size_t start = store.lineStart(line);
    const std::size_t end = line + 1 < store.lineCount() ? store.lineStart(line + 1) : store.size();
    return partOf(start, end, position);
}

// Reads a window around the position and looks for word starts in it: a character that is no
// separator after one that is (or after the start of the text).
TextItem wordAt(const TextStore& store, std::size_t position)
{
    const std::size_t from = position > longestItem ? position - longestItem : 0;
    const std::wstring window = store.text(from, 2 * longestItem + 1);
    const auto startsWord = [&](std::size_t at) {
        return at < window.size() && !isSeparator(window[at]) &&
               (at == 0 || isSeparator(window[at - 1]));
    };
    std::size_t start = position - from;
    while (start > 0 && !startsWord(start))
        --start;
    std::size_t end = position - from + 1;
    while (end < window.size() && !startsWord(end))
        ++end;
    return {from + start, from + std::min(end, window.size())};
}

} // namespace

TextItem itemAt(const TextStore& store, std::size_t position,
                QAccessible::TextBoundaryType boundary)
{
    const std::size_t size = store.size();
    if (position >= size)
        return {size, size};
    switch (boundary) {
    case QAccessible::CharBoundary:
        return {position, position + 1};
    case QAccessible::WordBoundary:
        return wordAt(store, position);
    case QAccessible::NoBoundary:
        return {0, size};
    default:
        return lineAt(store, position);
    }
}

} // namespace platform
