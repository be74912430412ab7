#include "platform/qt/edit/text_widths_p.h"

#include <QFontInfo>
#include <QString>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr std::size_t chunk = 4096;
constexpr float unmeasured = -1.0f;

QString qtText(wchar_t c)
{
    return QString::fromWCharArray(&c, 1);
}

} // namespace

TextWidths::TextWidths(const QFont& font) : metrics_(font)
{
    setFont(font);
}

void TextWidths::setFont(const QFont& font)
{
    font_ = font;
    metrics_ = QFontMetricsF(font);
    average_ = 0;
    table_.fill(unmeasured);
    beyond_.clear();
    forget();
}

// Windows' average width of a fixed-pitch font is its cell, so the tab stops of eight averages
// fall on every eighth column. A font's own average may be wider than its cell, and a tab after
// exactly eight characters then moved on by a sliver instead of a whole stop.
qreal TextWidths::averageWidth() const
{
    if (average_ == 0) {
        const qreal average = QFontInfo(font_).fixedPitch()
                                  ? metrics_.horizontalAdvance(QLatin1Char('x'))
                                  : metrics_.averageCharWidth();
        average_ = std::max<qreal>(1, average);
    }
    return average_;
}

qreal TextWidths::advance(wchar_t c) const
{
    if (isControl(c))
        return averageWidth();
    if (std::size_t(c) < table_.size()) {
        float& width = table_[std::size_t(c)];
        if (width == unmeasured)
            width = float(metrics_.horizontalAdvance(QChar(char16_t(c))));
        return width;
    }
    auto [found, isNew] = beyond_.try_emplace(c, 0);
    if (isNew)
        found->second = metrics_.horizontalAdvance(qtText(c));
    return found->second;
}

qreal TextWidths::step(qreal x, wchar_t c) const
{
    if (c != L'\t')
        return x + advance(c);
    const qreal stop = tabStop();
    return (std::floor(x / stop + 1e-6) + 1) * stop;
}

qreal TextWidths::walk(const TextStore& text, std::size_t lineStart, std::size_t from, qreal x,
                       std::size_t to) const
{
    wchar_t buffer[chunk];
    while (from < to) {
        const std::size_t count = text.copy(lineStart + from, std::min(chunk, to - from), buffer);
        if (count == 0)
            break;
        for (std::size_t i = 0; i < count; ++i)
            x = step(x, buffer[i]);
        from += count;
    }
    return x;
}

void TextWidths::markUpTo(const TextStore& text, std::size_t lineStart, std::size_t length,
                          std::size_t column)
{
    if (marks_[0].line != lineStart) {
        std::swap(marks_[0], marks_[1]);
        if (marks_[0].line != lineStart)
            marks_[0] = {lineStart, {0}};
    }
    std::vector<qreal>& xs = marks_[0].xs;
    const std::size_t wanted = std::min(column, length) / markEvery;
    while (xs.size() <= wanted) {
        const std::size_t from = (xs.size() - 1) * markEvery;
        xs.push_back(walk(text, lineStart, from, xs.back(), from + markEvery));
    }
}

qreal TextWidths::xOf(const TextStore& text, std::size_t line, std::size_t column)
{
    const std::size_t start = text.lineStart(line);
    column = std::min(column, text.lineLength(line));
    if (column < markEvery)
        return walk(text, start, 0, 0, column);
    markUpTo(text, start, text.lineLength(line), column);
    const std::size_t mark = column / markEvery;
    return walk(text, start, mark * markEvery, marks_[0].xs[mark], column);
}

std::size_t TextWidths::columnAt(const TextStore& text, std::size_t line, qreal x)
{
    const std::size_t start = text.lineStart(line);
    const std::size_t length = text.lineLength(line);
    std::size_t column = 0;
    qreal left = 0;
    if (length >= markEvery) {
        // Extend the marks until one lies beyond x, then walk from the one before.
        markUpTo(text, start, length, markEvery);
        const std::vector<qreal>& xs = marks_[0].xs;
        while (xs.back() <= x && (xs.size() - 1) * markEvery + markEvery <= length)
            markUpTo(text, start, length, xs.size() * markEvery);
        const auto after = std::upper_bound(xs.begin() + 1, xs.end(), x);
        const std::size_t mark = std::size_t(after - xs.begin()) - 1;
        column = mark * markEvery;
        left = xs[mark];
    }
    wchar_t buffer[chunk];
    while (column < length) {
        const std::size_t count =
            text.copy(start + column, std::min(chunk, length - column), buffer);
        for (std::size_t i = 0; i < count; ++i) {
            const qreal right = step(left, buffer[i]);
            if (x < (left + right) / 2)
                return column + i;
            left = right;
        }
        column += count;
    }
    return length;
}

void TextWidths::edited(std::size_t position)
{
    for (Marks& marks : marks_) {
        // An edit before a marked line moves it, or removes its start.
        if (position < marks.line)
            marks = Marks();
        else // the mark at column c depends on the characters before c only
            marks.xs.resize(std::min(marks.xs.size(), (position - marks.line) / markEvery + 1));
    }
}

} // namespace platform
