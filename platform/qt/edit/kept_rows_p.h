// The text view's rows as last drawn. A whole window is painted again after every dialog, menu
// and uncovering, and a key press changes one row, while drawing a row's glyphs costs far more
// than copying its picture. So each row's picture is kept with what it shows and drawn afresh
// only when that changed; a row that scrolled to another place is found there again.
#pragma once

#include <QFont>
#include <QImage>
#include <QSize>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace platform {

// What one row shows: the characters in sight, where the first of them starts and which of them
// are selected. Rows that are equal are drawn alike.
struct TextRow {
    std::wstring text;
    qreal x = 0;    // where the text starts, from the line's start (tab stops count from there)
    qreal left = 0; // where the viewport's left edge is, from the line's start
    std::size_t selectedFrom = 0; // within the text
    std::size_t selectedTo = 0;
    bool operator==(const TextRow&) const = default;
};

// What every row's drawing shares: when it changes, no kept picture is right any more.
struct RowLook {
    QSize size; // of one row
    qreal ratio = 1;
    QFont font;
    qint64 palette = 0;
    bool enabled = true;
    bool readOnly = false;
    bool operator==(const RowLook&) const = default;
};

class KeptRows {
public:
    using Draw = std::function<void(QPainter&, const TextRow&)>;

    // Drops every kept picture when the look changed.
    void setLook(const RowLook& look);
    // The picture of the row at index (from the viewport's top) showing row: the one kept, or
    // drawn afresh with draw onto the row's background.
    const QImage& picture(std::size_t index, const TextRow& row, const Draw& draw);

private:
    struct Kept {
        TextRow row;
        QImage picture; // null until drawn
    };
    std::vector<Kept> rows_;
    RowLook look_;
};

} // namespace platform
