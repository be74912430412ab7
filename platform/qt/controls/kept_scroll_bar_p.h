// The scroll bars of the edit control and the list boxes. Drawn whole in the style's own way, one
// takes a third of a millisecond, because Qt hands any fill of 96 spans or more to other threads
// and the style's lines and gradients along a bar reach that; the hand-offs cost ten times the
// drawing. So a bar is drawn in short bands that stay under that size. And the whole window is
// painted again after every dialog, menu and uncovering, while a scroll bar rarely moves; so a
// drawn bar is kept and shown again until something it shows changes, and when only its slider
// moved, only the bands around the slider's ends are drawn again.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScrollBar>

class QAbstractScrollArea;

namespace platform {

class KeptScrollBar : public QScrollBar {
public:
    KeptScrollBar(Qt::Orientation orientation, QWidget* parent);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    QPaintDevice* redirected(QPoint* offset) const override;

private:
    // All the drawing depends on: where the slider is, not the values that put it there, so a line
    // added to a long text draws nothing new.
    struct Look {
        QSize size;
        QRect slider;
        int state = 0;
        bool atStart = false;
        bool atEnd = false;
        qint64 palette = 0;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        qreal ratio = 1; // device pixels to the widget's
        bool operator==(const Look&) const = default;
    };
    Look look() const;
    int length() const;
    void startPicture();
    void drawBands(QPaintEvent* event, int from, int to);
    void drawSliderEnds(QPaintEvent* event, const QRect& was, const QRect& is);

    QPixmap drawn_;
    QImage band_; // the band being drawn, and where it lies in the bar
    QPoint bandAt_;
    Look drawnLook_;
    bool stale_ = true;
    bool drawing_ = false;
};

// Gives the area kept bars in place of its own, both ways.
void keepScrollBars(QAbstractScrollArea* area);

} // namespace platform
