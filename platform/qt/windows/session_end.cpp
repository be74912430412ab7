// The end of a Linux session, told by SIGTERM or SIGHUP, as Windows ends one: every top-level
// window is asked with WM_QUERYENDSESSION and told with WM_ENDSESSION, and then the process ends
// with exit code 0, at once, whatever box or dialog is open. The signal only writes a byte to a
// pipe; the messages are sent from the event loop that is running, the innermost one included.
#include "platform/qt/windows/window_p.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe calls, and errno as the interrupted code left it. The pipe never blocks:
// when it is full, a session end is already waiting to be read, and the byte is not needed.
void onSignal(int number)
{
    const int kept = errno;
    const char byte = char(number);
    [[maybe_unused]] const auto written = write(signalPipe[1], &byte, 1);
    errno = kept;
}

[[noreturn]] void endSession(int number)
{
    // Layer: a Linux session's end cannot be refused, so it is a critical one.
    const LPARAM reason =
        ENDSESSION_CRITICAL | (number == SIGHUP ? ENDSESSION_LOGOFF : ENDSESSION_CLOSEAPP);
    std::vector<HWND> windows;
    for (HWND hwnd : allWindows()) {
        if (isTopLevel(hwnd))
            windows.push_back(hwnd);
    }
    for (HWND hwnd : windows)
        SendMessageW(hwnd, WM_QUERYENDSESSION, 0, reason);
    for (HWND hwnd : windows)
        SendMessageW(hwnd, WM_ENDSESSION, TRUE, reason);
    // Windows ends the process once WM_ENDSESSION has returned: no WM_DESTROY, no WM_QUIT, and no
    // unwinding through the loops of open boxes and dialogs.
    _exit(0);
}

} // namespace

void watchSessionEnd()
{
    if (!QCoreApplication::instance() || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte = 0;
        if (read(signalPipe[0], &byte, 1) == 1)
            endSession(byte);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

} // namespace platform
