// Where each character of the multi-line edit control sits across its line. Characters are placed
// one after another by their own advance (the font draws without kerning or ligatures, so the
// painted text lands exactly there), tabs jump to the next stop. A line of ten million characters
// must not cost ten million additions per key press: the last two long lines measured keep the x
// of every 1024th column, and an edit drops only the marks after it.
#pragma once

#include "platform/text/text_store.h"

#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <cstddef>
#include <unordered_map>
#include <vector>

namespace platform {

class TextWidths {
public:
    explicit TextWidths(const QFont& font);

    void setFont(const QFont& font);
    qreal advance(wchar_t c) const;
    // The x after drawing c at x (from the line's start).
    qreal step(qreal x, wchar_t c) const;
    qreal tabStop() const { return averageWidth() * 8; }
    qreal averageWidth() const;

    qreal xOf(const TextStore& text, std::size_t line, std::size_t column);
    // The column whose left edge is nearest to x.
    std::size_t columnAt(const TextStore& text, std::size_t line, qreal x);

    // The text changed from position on: marks after it are no longer right, and an edit before
    // the marked line may have moved it.
    void edited(std::size_t position);
    void forget() { marks_ = {}; }

    // Characters that have no glyph of their own (a lone CR or LF, other control characters, and
    // half of a surrogate pair, which is how a byte that is not UTF-8 shows) are drawn as a box
    // this wide.
    static bool isControl(wchar_t c)
    {
        return (c < 0x20 && c != L'\t') || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF);
    }

private:
    static constexpr std::size_t markEvery = 1024;
    static constexpr std::size_t noLine = std::size_t(-1);

    // Makes sure the marks of the line starting at lineStart reach column (or the line's end).
    void markUpTo(const TextStore& text, std::size_t lineStart, std::size_t length,
                  std::size_t column);
    // Walks from a known x at column from towards column to (or until x passes limit).
    qreal walk(const TextStore& text, std::size_t lineStart, std::size_t from, qreal x,
               std::size_t to) const;

    QFont font_;
    QFontMetricsF metrics_;
    // Measured when first needed: an edit control is made with the stock font and given its own
    // straight after, and loading a face only to drop it was 3% of start-up.
    mutable qreal average_ = 0;
    // Advances measured on first use: one byte's characters (nearly every text, as files hold
    // Latin-1) in a table, the others in a map.
    mutable std::array<float, 256> table_;
    mutable std::unordered_map<wchar_t, qreal> beyond_;
    struct Marks {
        std::size_t line = noLine; // start of the line they belong to
        std::vector<qreal> xs;     // xs[k]: x of column k * markEvery
    };
    // The last two long lines measured, the latest first: Enter and Backspace go between two.
    std::array<Marks, 2> marks_;
};

} // namespace platform
