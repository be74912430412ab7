// Input as Windows delivers it: every key press and mouse button goes through the window's
// procedure as a message, and the control's class procedure hands it back to the widget's own
// handling. So a subclass procedure sees the input before the control does, and can keep it.
#include "platform/qt/windows/window_p.h"

#include <QMouseEvent>

namespace platform {

namespace {

struct PendingInput {
    HWND hwnd;
    UINT message;
    std::function<void()> handling;
    bool handled;
};

std::vector<PendingInput>& pending()
{
    static std::vector<PendingInput> stack;
    return stack;
}

WPARAM mouseKeysOf(const QMouseEvent* event)
{
    WPARAM keys = 0;
    if (event->buttons() & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (event->modifiers() & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        keys |= MK_CONTROL;
    return keys;
}

} // namespace

bool deliverInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                  std::function<void()> handling)
{
    pending().push_back({hwnd, message, std::move(handling), false});
    SendMessageW(hwnd, message, wParam, lParam);
    const bool handled = pending().back().handled;
    pending().pop_back();
    return handled;
}

bool runPendingInput(HWND hwnd, UINT message)
{
    if (pending().empty())
        return false;
    PendingInput& input = pending().back();
    if (input.hwnd != hwnd || input.message != message || input.handled)
        return false;
    input.handled = true;
    input.handling();
    return true;
}

void deliverMouse(HWND hwnd, UINT message, QMouseEvent* event,
                  std::function<void(QMouseEvent*)> widgetHandling)
{
    if (!live(hwnd)) {
        widgetHandling(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const LPARAM where = MAKELPARAM(WORD(short(at.x())), WORD(short(at.y())));
    deliverInput(hwnd, message, mouseKeysOf(event), where, [&] { widgetHandling(event); });
    event->accept();
}

} // namespace platform
