// The text view's kept row pictures.
#include "platform/qt/edit/kept_rows_p.h"

#include <QPainter>

#include <algorithm>
#include <utility>

namespace platform {

void KeptRows::setLook(const RowLook& look)
{
    if (look == look_)
        return;
    look_ = look;
    rows_.clear();
}

// A picture is only ever kept together with the row it shows: a row found elsewhere changes
// places with the one here, so no picture can stand for a row it does not show.
const QImage& KeptRows::picture(std::size_t index, const TextRow& row, const Draw& draw)
{
    if (rows_.size() <= index)
        rows_.resize(index + 1);
    Kept& here = rows_[index];
    if (!here.picture.isNull() && here.row == row)
        return here.picture;
    const auto found = std::find_if(rows_.begin(), rows_.end(), [&](const Kept& kept) {
        return !kept.picture.isNull() && kept.row == row;
    });
    if (found != rows_.end()) {
        std::swap(here, *found);
        return here.picture;
    }
    // Opaque, so the view copies it onto the window without blending.
    here.picture = QImage(look_.size * look_.ratio, QImage::Format_RGB32);
    here.picture.setDevicePixelRatio(look_.ratio);
    here.row = row;
    QPainter painter(&here.picture);
    painter.setFont(look_.font);
    draw(painter, row);
    return here.picture;
}

} // namespace platform
