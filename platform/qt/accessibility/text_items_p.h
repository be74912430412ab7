// The stretches of the multi-line edit control's text that a screen reader steps by: characters,
// words, lines. Found by reading only around the position asked about, so a document of a
// gigabyte answers as fast as a short one.
#pragma once

#include "platform/text/text_store.h"

#include <QAccessible>

#include <cstddef>

namespace platform {

struct TextItem {
    std::size_t start = 0;
    std::size_t end = 0;
};

// Longer words and lines are handed out in parts of this many characters.
inline constexpr std::size_t longestItem = 4096;

// The item of that kind that holds the position; past the end, the empty item there. A word is
// what Ctrl+Right steps over: the word and the blanks and line breaks after it. A line takes its
// CR LF with it; sentences and paragraphs are lines here, as the control never wraps.
TextItem itemAt(const TextStore& store, std::size_t position,
                QAccessible::TextBoundaryType boundary);

} // namespace platform
