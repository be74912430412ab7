// Timers on QTimer. An expiry posts WM_TIMER unless one of that timer still waits in the queue,
// so a timer that expires several times while the program is busy gives one WM_TIMER, as on
// Windows; DestroyWindow ends the window's timers.
#include "platform/qt/windows/window_p.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

namespace platform {

namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    TIMERPROC procedure;
    QTimer* qt;
};

std::vector<Timer>& timers()
{
    static std::vector<Timer> all;
    return all;
}

std::vector<Timer>::iterator timerOf(HWND hwnd, UINT_PTR id)
{
    return std::find_if(timers().begin(), timers().end(),
                        [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
}

void expired(HWND hwnd, UINT_PTR id)
{
    const auto timer = timerOf(hwnd, id);
    if (timer != timers().end())
        postUnlessQueued(hwnd, WM_TIMER, id, reinterpret_cast<LPARAM>(timer->procedure));
}

void stop(const Timer& timer)
{
    timer.qt->stop();
    timer.qt->deleteLater();
}

} // namespace

void killTimersOf(HWND hwnd)
{
    std::erase_if(timers(), [hwnd](const Timer& timer) {
        if (timer.hwnd == hwnd)
            stop(timer);
        return timer.hwnd == hwnd;
    });
}

} // namespace platform

using namespace platform;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC procedure)
{
    if (!live(hwnd) || !QCoreApplication::instance()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    auto timer = timerOf(hwnd, id);
    if (timer == timers().end()) {
        auto* qt = new QTimer(QCoreApplication::instance());
        QObject::connect(qt, &QTimer::timeout, [hwnd, id] { expired(hwnd, id); });
        timers().push_back({hwnd, id, procedure, qt});
        timer = timers().end() - 1;
    }
    // The same window and identifier replace the timer and start its period afresh.
    timer->procedure = procedure;
    timer->qt->start(int(std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM)));
    return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    const auto timer = timerOf(hwnd, id);
    if (timer == timers().end()) {
        SetLastError(1402); // ERROR_INVALID_TIMER_ID
        return FALSE;
    }
    stop(*timer);
    timers().erase(timer);
    return TRUE;
}
