// A scroll bar that shows its last drawing again while nothing it shows has changed.
#include "platform/qt/edit/kept_scroll_bar_p.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>

namespace platform {

KeptScrollBar::KeptScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
}

KeptScrollBar::Look KeptScrollBar::look() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {
        size(),
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
        int(option.state),
        value() == minimum(),
        value() == maximum(),
        palette().cacheKey(),
        layoutDirection()};
}

// Hovering, pressing and dragging show in the bar through state the bar keeps to itself; every
// event but a paint may have changed it, so the next paint draws afresh.
bool KeptScrollBar::event(QEvent* event)
{
    if (event->type() != QEvent::Paint)
        stale_ = true;
    return QScrollBar::event(event);
}

// While the bar draws itself afresh, its painter draws into the band under way instead.
QPaintDevice* KeptScrollBar::redirected(QPoint* offset) const
{
    if (!drawing_)
        return QScrollBar::redirected(offset);
    if (offset)
        *offset = bandAt_;
    return const_cast<QImage*>(&band_);
}

namespace {

// How long a band is along the bar, in the widget's pixels: 32 device pixels keep every fill
// under 96 spans (bands across a bar would not: the style draws along it line by line). Each band
// must start on a whole device pixel too, or the bands' edges would show at a fractional scale; a
// scale with no such band length below 32 pixels gets the bar in one band.
int bandLength(qreal ratio, int length)
{
    for (int grain = 1; grain <= 32; ++grain) {
        const qreal pixels = grain * ratio;
        if (std::abs(pixels - std::round(pixels)) < 1e-6)
            return grain * std::max(1, int(32 / pixels));
    }
    return std::max(1, length);
}

} // namespace

// The whole bar is drawn through the style once per band, each band into a picture of its own.
void KeptScrollBar::drawAfresh(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatio();
    drawn_ = QPixmap(size() * ratio);
    drawn_.setDevicePixelRatio(ratio);
    drawn_.fill(Qt::transparent);
    QPainter into(&drawn_);
    const bool across = orientation() == Qt::Horizontal;
    const int length = across ? width() : height();
    const int step = bandLength(ratio, length);
    for (int from = 0; from < length; from += step) {
        const int part = std::min(step, length - from);
        const QRect band = across ? QRect(from, 0, part, height()) : QRect(0, from, width(), part);
        band_ = QImage(band.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        band_.setDevicePixelRatio(ratio);
        band_.fill(Qt::transparent);
        bandAt_ = band.topLeft();
        drawing_ = true;
        QScrollBar::paintEvent(event);
        drawing_ = false;
        into.drawImage(bandAt_, band_);
    }
    band_ = QImage();
}

void KeptScrollBar::paintEvent(QPaintEvent* event)
{
    const Look now = look();
    if (stale_ || now != drawnLook_ || drawn_.isNull()) {
        drawAfresh(event);
        drawnLook_ = now;
        stale_ = false;
    }
    QPainter(this).drawPixmap(0, 0, drawn_);
}

} // namespace platform
