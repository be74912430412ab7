// Every menu bar asks the style for its overflow button's arrow when it is made, and reading that
// picture makes Qt load and ask every image plugin installed (a GIF, an icon and a JPEG reader
// here, more on some systems): most of a millisecond of each start, for a button that shows only
// in a window too narrow for its menu titles. So a standard icon is made when it is first drawn.
#include "platform/qt/windows/style_p.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <optional>

namespace platform {

namespace {

class IconOnFirstUse : public QIconEngine {
public:
    IconOnFirstUse(const QStyle* style, QStyle::StandardPixmap which, Qt::LayoutDirection direction)
        : style_(style), which_(which), direction_(direction)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }

    bool isNull() override { return icon().isNull(); }

    QIconEngine* clone() const override { return new IconOnFirstUse(*this); }

private:
    // The direction is all of the option a standard icon depends on (an arrow points the other way
    // in a right-to-left window); the widget may be gone by the time the icon is drawn.
    const QIcon& icon()
    {
        if (!icon_) {
            QStyleOption option;
            option.direction = direction_;
            icon_ = style_->standardIcon(which_, &option);
        }
        return *icon_;
    }

    const QStyle* style_;
    QStyle::StandardPixmap which_;
    Qt::LayoutDirection direction_;
    std::optional<QIcon> icon_;
};

class EditorStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override
    {
        Qt::LayoutDirection direction = QGuiApplication::layoutDirection();
        if (option)
            direction = option->direction;
        else if (widget)
            direction = widget->layoutDirection();
        return QIcon(new IconOnFirstUse(baseStyle(), which, direction));
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        QProxyStyle::drawControl(element, option, painter, widget);
        // Windows: a push button with the keyboard focus shows a dotted rectangle round its text,
        // so the focus shows on the default button too, which looks framed either way.
        const QStyle::State focused = State_HasFocus | State_KeyboardFocusChange;
        if (element == CE_PushButtonLabel && (option->state & focused) == focused) {
            painter->save();
            painter->setPen(QPen(option->palette.buttonText().color(), 1, Qt::DotLine));
            painter->drawRect(option->rect.adjusted(1, 1, -2, -2));
            painter->restore();
        }
    }
};

} // namespace

void useStyle()
{
    QStyle* chosen = QStyleFactory::create(QApplication::style()->name());
    if (chosen)
        QApplication::setStyle(new EditorStyle(chosen));
}

const QStyle* drawingStyle(const QStyle* style)
{
    const auto* wrapped = qobject_cast<const QProxyStyle*>(style);
    return wrapped ? wrapped->baseStyle() : style;
}

} // namespace platform
