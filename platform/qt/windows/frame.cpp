// The frame and client widgets of top-level windows, turning Qt's events into the messages
// Windows would send: WM_SYSCOMMAND for the close box, WM_SIZE, activation and WM_PAINT.
#include "platform/qt/windows/frame_p.h"

#include "platform/qt/accessibility/install_p.h"

#include "platform/qt/windows/window_p.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>

namespace platform {

ClientWidget::ClientWidget(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd)
{
    setFocusPolicy(Qt::ClickFocus);
}

void ClientWidget::paintEvent(QPaintEvent* event)
{
    paintClient(hwnd_, this, event->rect());
}

void ClientWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    clientResized(hwnd_, event->size().width(), event->size().height());
}

void ClientWidget::keyPressEvent(QKeyEvent* event)
{
    // Keys that reach a frame go to its window procedure, which ignores them, as on Windows.
    deliverKey(hwnd_, event, [](QKeyEvent* key) { key->ignore(); });
}

void ClientWidget::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    focusGained(hwnd_);
}

FrameWidget::FrameWidget(HWND hwnd, QWidget* owner)
    : QWidget(owner, Qt::Window), hwnd_(hwnd), client_(new ClientWidget(hwnd, this))
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    installAccessibility();
}

void FrameWidget::setMenuBar(QMenuBar* bar)
{
    delete bar_;
    bar_ = bar;
    if (bar_) {
        bar_->setParent(this);
        bar_->show();
    }
    layoutChildren();
}

int FrameWidget::menuBarHeight() const
{
    return bar_ ? bar_->sizeHint().height() : 0;
}

void FrameWidget::setClientSize(int width, int height)
{
    const QSize size(width, height + menuBarHeight());
    if (minimumSize() == maximumSize())
        setFixedSize(size);
    resize(size);
    layoutChildren();
}

bool FrameWidget::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        qtActivated(hwnd_);
    else if (event->type() == QEvent::WindowDeactivate)
        qtDeactivated(hwnd_);
    return QWidget::event(event);
}

void FrameWidget::closeEvent(QCloseEvent* event)
{
    // The close box asks the window procedure, which decides whether the window goes.
    event->ignore();
    // Windows: a disabled window takes no input, its close box included.
    if (live(hwnd_) && hwnd_->enabled)
        SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void FrameWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void FrameWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        windowStateChanged(hwnd_, isMinimized(), isMaximized());
}

void FrameWidget::layoutChildren()
{
    const int barHeight = menuBarHeight();
    if (bar_)
        bar_->setGeometry(0, 0, width(), barHeight);
    client_->setGeometry(0, barHeight, width(), std::max(0, height() - barHeight));
}

} // namespace platform
