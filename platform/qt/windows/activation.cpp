// Activation, keyboard focus and enabling: the layer keeps Windows' notion of the active window
// and the focus window itself, so the messages come in Windows' order whatever Qt does later.
#include "platform/qt/windows/frame_p.h"
#include "platform/qt/windows/window_p.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QTimer>

namespace platform {

namespace {

HWND activeWindow = nullptr;
HWND focusWindow = nullptr;

void setFocusState(HWND hwnd)
{
    if (hwnd == focusWindow)
        return;
    HWND previous = focusWindow;
    focusWindow = hwnd;
    if (live(previous))
        SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (live(hwnd))
        SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
}

bool within(HWND hwnd, HWND ancestor)
{
    for (; hwnd; hwnd = hwnd->parent) {
        if (hwnd == ancestor)
            return true;
    }
    return false;
}

void focusQtWidget(HWND hwnd)
{
    if (QWidget* widget = hwnd->client ? hwnd->client.data() : hwnd->widget.data())
        widget->setFocus(Qt::OtherFocusReason);
}

} // namespace

// The Qt window follows the layer's active window; it may have been made active before it was
// shown (inside its WM_CREATE), and is brought up when it shows.
void showActive(HWND top)
{
    QWidget* widget = live(top) ? top->widget.data() : nullptr;
    if (!widget || !widget->isVisible() || widget->isActiveWindow())
        return;
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        widget->raise();
    widget->activateWindow();
}

void activate(HWND top, WORD how)
{
    if (top == activeWindow) {
        showActive(top);
        return;
    }
    HWND previous = activeWindow;
    activeWindow = top;
    if (live(previous)) {
        const WPARAM state = MAKEWPARAM(WA_INACTIVE, previous->minimized ? 1 : 0);
        SendMessageW(previous, WM_ACTIVATE, state, reinterpret_cast<LPARAM>(top));
        // The focus leaves with the activation: a box or another program has it now.
        dropFocusWithin(previous);
    }
    if (live(top) && activeWindow == top) {
        showActive(top);
        const WPARAM state = MAKEWPARAM(how, top->minimized ? 1 : 0);
        SendMessageW(top, WM_ACTIVATE, state, reinterpret_cast<LPARAM>(previous));
    }
}

ModalActivation::ModalActivation(HWND owner) : owner_(topLevelOf(owner)), previous_(activeWindow)
{
    activate(nullptr, WA_INACTIVE);
}

ModalActivation::~ModalActivation()
{
    // Windows activates the owner when its box or dialog closes, whether or not a window of ours
    // was active before; a box without an owner hands activation back to where it was.
    HWND back = live(owner_) ? owner_ : live(previous_);
    if (back && back->enabled && back->visible)
        activate(back, WA_ACTIVE);
}

void focusGained(HWND hwnd)
{
    if (live(hwnd) && topLevelOf(hwnd) == activeWindow)
        setFocusState(hwnd);
}

void dropFocusWithin(HWND hwnd)
{
    if (focusWindow && within(focusWindow, hwnd))
        setFocusState(nullptr);
}

void forgetWindow(HWND hwnd)
{
    if (activeWindow != hwnd)
        return;
    activate(nullptr, WA_INACTIVE);
    // Windows hands activation to the owner when it can take it.
    HWND owner = hwnd->owner;
    if (live(owner) && owner->enabled && owner->visible)
        activate(owner, WA_ACTIVE);
}

void qtActivated(HWND hwnd)
{
    if (!live(hwnd) || hwnd == activeWindow || !hwnd->enabled)
        return;
    activate(hwnd, WA_ACTIVE);
}

void qtDeactivated(HWND hwnd)
{
    if (hwnd != activeWindow)
        return;
    // Qt reports the deactivation before the activation of the next window; only when no window
    // of ours follows has the user gone to another program.
    QTimer::singleShot(0, [hwnd] {
        QWidget* now = QApplication::activeWindow();
        if (activeWindow == hwnd && live(hwnd) && (!now || now != hwnd->widget)) {
            bool ours = false;
            for (HWND other : allWindows())
                ours = ours || (isTopLevel(other) && other->widget == now && now);
            if (!ours)
                activate(nullptr, WA_INACTIVE);
        }
    });
}

} // namespace platform

using namespace platform;

HWND SetActiveWindow(HWND hwnd)
{
    HWND top = topLevelOf(hwnd);
    if (!top || !top->enabled)
        return nullptr;
    HWND previous = activeWindow;
    activate(top, WA_ACTIVE);
    return previous;
}

HWND GetActiveWindow()
{
    return live(activeWindow);
}

HWND GetForegroundWindow()
{
    return live(activeWindow);
}

HWND SetFocus(HWND hwnd)
{
    HWND previous = live(focusWindow);
    if (!hwnd) {
        setFocusState(nullptr);
        return previous;
    }
    if (!live(hwnd))
        return nullptr;
    HWND top = topLevelOf(hwnd);
    if (top != activeWindow)
        activate(top, WA_ACTIVE); // its DefWindowProcW focuses the frame first
    setFocusState(hwnd);
    // A WM_SETFOCUS handler may have passed the focus on (a frame to its edit control): Qt's focus
    // follows where it ended, not where it was asked for first.
    if (focusWindow == hwnd)
        focusQtWidget(hwnd);
    return previous;
}

HWND GetFocus()
{
    return live(focusWindow);
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    if (!live(hwnd))
        return FALSE;
    const BOOL wasDisabled = hwnd->enabled ? FALSE : TRUE;
    const bool enabling = enable != FALSE;
    if (enabling == hwnd->enabled)
        return wasDisabled;
    if (!enabling) {
        SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
        dropFocusWithin(hwnd);
    }
    hwnd->enabled = enabling;
    hwnd->style = enabling ? (hwnd->style & ~WS_DISABLED) : (hwnd->style | WS_DISABLED);
    if (FrameWidget* frame = frameOf(hwnd)) {
        // Qt disables a window's child windows with it, but an owned window (the Format text
        // window over the main window) must stay usable: only the client and menu bar go grey.
        frame->client()->setEnabled(enabling);
        if (frame->menuBar())
            frame->menuBar()->setEnabled(enabling);
    } else if (hwnd->widget) {
        hwnd->widget->setEnabled(enabling);
    }
    SendMessageW(hwnd, WM_ENABLE, enabling ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    return live(hwnd) && hwnd->enabled ? TRUE : FALSE;
}
