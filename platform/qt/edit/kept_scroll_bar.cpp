// A scroll bar that shows its last drawing again while nothing it shows has changed.
#include "platform/qt/edit/kept_scroll_bar_p.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

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

// While the bar draws itself afresh, its painter draws into the kept picture instead.
QPaintDevice* KeptScrollBar::redirected(QPoint* offset) const
{
    if (!drawing_)
        return QScrollBar::redirected(offset);
    if (offset)
        *offset = QPoint();
    return const_cast<QPixmap*>(&drawn_);
}

void KeptScrollBar::paintEvent(QPaintEvent* event)
{
    const Look now = look();
    if (stale_ || now != drawnLook_ || drawn_.isNull()) {
        drawn_ = QPixmap(size() * devicePixelRatio());
        drawn_.setDevicePixelRatio(devicePixelRatio());
        drawn_.fill(Qt::transparent);
        drawing_ = true;
        QScrollBar::paintEvent(event);
        drawing_ = false;
        drawnLook_ = now;
        stale_ = false;
    }
    QPainter(this).drawPixmap(0, 0, drawn_);
}

} // namespace platform
