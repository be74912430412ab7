// Key presses as Windows delivers them: every press goes through the window's procedure as
// WM_KEYDOWN (input.cpp), and the control's class procedure hands it back to the widget. So a
// subclass procedure sees a key before the control does, and can keep it from the control.
#include "platform/qt/windows/window_p.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

namespace platform {

namespace {

bool synthesizing = false;
// Windows: GetKeyState tells the keys as they were when the message being handled was made.
Qt::KeyboardModifiers keysOfThisMessage;

} // namespace

LPARAM keyDataOf(const QKeyEvent* event)
{
    LPARAM data = 1;
    data |= LPARAM(event->nativeScanCode() & 0xFF) << 16;
    if (event->isAutoRepeat())
        data |= LPARAM(1) << 30;
    return data;
}

Qt::Key qtKeyOf(WPARAM virtualKey)
{
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return Qt::Key(virtualKey);
    switch (virtualKey) {
    case VK_RETURN:
        return Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_DELETE:
        return Qt::Key_Delete;
    case VK_INSERT:
        return Qt::Key_Insert;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_LEFT:
        return Qt::Key_Left;
    case VK_RIGHT:
        return Qt::Key_Right;
    case VK_UP:
        return Qt::Key_Up;
    case VK_DOWN:
        return Qt::Key_Down;
    case VK_HOME:
        return Qt::Key_Home;
    case VK_END:
        return Qt::Key_End;
    case VK_PRIOR:
        return Qt::Key_PageUp;
    case VK_NEXT:
        return Qt::Key_PageDown;
    case VK_F3:
        return Qt::Key_F3;
    case VK_F4:
        return Qt::Key_F4;
    default:
        return Qt::Key_unknown;
    }
}

int virtualKeyOf(const QKeyEvent* event)
{
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + (key - Qt::Key_F1);
    for (int vk : {VK_RETURN, VK_ESCAPE, VK_TAB, VK_BACK, VK_DELETE, VK_INSERT, VK_SPACE, VK_LEFT,
                   VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT}) {
        if (qtKeyOf(WPARAM(vk)) == key)
            return vk;
    }
    if (key == Qt::Key_Enter)
        return VK_RETURN;
    if (key == Qt::Key_Backtab)
        return VK_TAB;
    // Windows: a key that types a character the layer has no key code for still reaches the
    // window procedure, as VK_PACKET does for characters that come without a key.
    if (!event->text().isEmpty() && !event->text().front().isNull())
        return VK_PACKET;
    return 0;
}

void deliverKey(HWND hwnd, QKeyEvent* event, std::function<void(QKeyEvent*)> widgetHandling)
{
    keysOfThisMessage = event->modifiers();
    const int virtualKey = virtualKeyOf(event);
    if (synthesizing || !virtualKey || !live(hwnd)) {
        widgetHandling(event);
        return;
    }
    const bool handled = deliverInput(hwnd, WM_KEYDOWN, WPARAM(virtualKey), keyDataOf(event),
                                      [&] { widgetHandling(event); });
    if (!handled)
        event->accept(); // a subclass kept the key from the control
}

} // namespace platform

SHORT GetKeyState(int virtualKey)
{
    const Qt::KeyboardModifiers modifiers = platform::keysOfThisMessage;
    const Qt::KeyboardModifier modifier = virtualKey == VK_SHIFT     ? Qt::ShiftModifier
                                          : virtualKey == VK_CONTROL ? Qt::ControlModifier
                                          : virtualKey == VK_MENU    ? Qt::AltModifier
                                                                     : Qt::NoModifier;
    return modifier != Qt::NoModifier && (modifiers & modifier) ? SHORT(0x8000) : SHORT(0);
}

namespace platform {

void runDefaultKey(HWND hwnd, WPARAM virtualKey, LPARAM)
{
    if (runPendingInput(hwnd, WM_KEYDOWN))
        return;
    // The program sent WM_KEYDOWN itself: give the widget a key press of that key.
    if (!live(hwnd) || !hwnd->widget)
        return;
    const Qt::Key key = qtKeyOf(virtualKey);
    if (key == Qt::Key_unknown)
        return;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                    virtualKey == VK_RETURN ? QStringLiteral("\r") : QString());
    synthesizing = true;
    QCoreApplication::sendEvent(hwnd->widget, &press);
    synthesizing = false;
}

} // namespace platform
