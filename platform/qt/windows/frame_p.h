// The Qt widgets behind windows of the program's own classes: the frame of a top-level window
// (its menu bar and client area) and the client area that children and WM_PAINT draw on.
#pragma once

#include "platform/win32.h"

#include <QWidget>

class QMenuBar;

namespace platform {

class ClientWidget : public QWidget {
public:
    ClientWidget(HWND hwnd, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    HWND hwnd_;
};

class FrameWidget : public QWidget {
public:
    FrameWidget(HWND hwnd, QWidget* owner);
    HWND handle() const { return hwnd_; }

    ClientWidget* client() const { return client_; }
    void setMenuBar(QMenuBar* bar);
    QMenuBar* menuBar() const { return bar_; }
    int menuBarHeight() const;
    // Sizes the frame so that the client area gets exactly this size.
    void setClientSize(int width, int height);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Windows: Tab moves the focus only where IsDialogMessageW moves it; a control keeps it.
    bool focusNextPrevChild(bool) override { return false; }

private:
    void layoutChildren();

    HWND hwnd_;
    ClientWidget* client_;
    QMenuBar* bar_ = nullptr;
};

// Called by the widgets when Qt reports what the user did to a window.
void clientResized(HWND hwnd, int width, int height);
void windowStateChanged(HWND hwnd, bool minimized, bool maximized);
void qtActivated(HWND hwnd);
void qtDeactivated(HWND hwnd);
void paintClient(HWND hwnd, QWidget* widget, const QRect& area);

FrameWidget* frameOf(HWND hwnd);

} // namespace platform
