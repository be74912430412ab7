// A scroll bar that shows its last drawing again while nothing it shows has changed.
#include "platform/qt/controls/kept_scroll_bar_p.h"

#include "platform/qt/windows/style_p.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {

namespace {

// How long a band is along the bar, in the widget's pixels: 32 device pixels keep every fill
// under 96 spans (bands across a bar would not: the style draws along it line by line). Each band
// must start on a whole device pixel too, or the bands' edges would show at a fractional scale; a
// scale with no such band length below 32 pixels gets the bar in one band. So does a scale above
// 2: at 3 the style's arrow buttons came out a line darker in bands than whole, and screens set to
// such scales are rare enough to pay for drawing the bar whole.
int bandLength(qreal ratio, int length)
{
    for (int grain = 1; ratio <= 2 && grain <= 32; ++grain) {
        const qreal pixels = grain * ratio;
        if (std::abs(pixels - std::round(pixels)) < 1e-6)
            return grain * std::max(1, int(32 / pixels));
    }
    return std::max(1, length);
}

} // namespace

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
        layoutDirection(),
        devicePixelRatio()};
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

// A picture the size of the bar, clear until its bands are drawn in.
void KeptScrollBar::startPicture()
{
    const qreal ratio = devicePixelRatio();
    drawn_ = QPixmap(size() * ratio);
    drawn_.setDevicePixelRatio(ratio);
    drawn_.fill(Qt::transparent);
}

int KeptScrollBar::length() const
{
    return orientation() == Qt::Horizontal ? width() : height();
}

// Draws afresh, through the style, the bands that reach into the stretch from..to along the bar,
// each into a picture of its own that then replaces the band in the kept one.
void KeptScrollBar::drawBands(QPaintEvent* event, int from, int to)
{
    const qreal ratio = devicePixelRatio();
    const bool across = orientation() == Qt::Horizontal;
    const int step = bandLength(ratio, length());
    QPainter into(&drawn_);
    into.setCompositionMode(QPainter::CompositionMode_Source);
    for (int at = std::max(0, from) / step * step; at < std::min(to, length()); at += step) {
        const int part = std::min(step, length() - at);
        const QRect band = across ? QRect(at, 0, part, height()) : QRect(0, at, width(), part);
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

// Fusion draws the groove whole and the slider alike all along its length, so when the slider
// alone moved or changed its length (the widest line grew by a key), only the stretches around its
// two ends look different. Another style may draw either part by its length; it gets the whole
// bar afresh.
void KeptScrollBar::drawSliderEnds(QPaintEvent* event, const QRect& was, const QRect& is)
{
    if (drawingStyle(style())->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0) {
        drawBands(event, 0, length());
        return;
    }
    constexpr int edge = 2; // the slider's outline and its softened pixels reach past its rectangle
    const bool across = orientation() == Qt::Horizontal;
    const auto [wasStart, wasEnd] =
        across ? std::pair(was.left(), was.right() + 1) : std::pair(was.top(), was.bottom() + 1);
    const auto [isStart, isEnd] =
        across ? std::pair(is.left(), is.right() + 1) : std::pair(is.top(), is.bottom() + 1);
    drawBands(event, std::min(wasStart, isStart) - edge, std::max(wasStart, isStart) + edge);
    drawBands(event, std::min(wasEnd, isEnd) - edge, std::max(wasEnd, isEnd) + edge);
}

void KeptScrollBar::paintEvent(QPaintEvent* event)
{
    const Look now = look();
    Look sliderMoved = drawnLook_;
    sliderMoved.slider = now.slider;
    if (stale_ || drawn_.isNull() || sliderMoved != now) {
        startPicture();
        drawBands(event, 0, length());
    } else if (now.slider != drawnLook_.slider) {
        drawSliderEnds(event, drawnLook_.slider, now.slider);
    }
    drawnLook_ = now;
    stale_ = false;
    QPainter(this).drawPixmap(0, 0, drawn_);
}

void keepScrollBars(QAbstractScrollArea* area)
{
    area->setVerticalScrollBar(new KeptScrollBar(Qt::Vertical, area));
    area->setHorizontalScrollBar(new KeptScrollBar(Qt::Horizontal, area));
}

} // namespace platform
