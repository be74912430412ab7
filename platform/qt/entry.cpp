// The Linux program's entry point: makes the application object, then runs the editor's
// wWinMain as the Windows runtime would, with the show command SW_SHOWDEFAULT. SIGTERM closes the
// main windows as their close box would, so a session ending asks about unsaved changes.
#include "platform/win32.h"

#include "platform/qt/windows/window_p.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = write(signalPipe[1], &byte, 1);
}

void closeMainWindows()
{
    for (HWND hwnd : platform::allWindows()) {
        if (platform::isTopLevel(hwnd) && !hwnd->owner)
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
}

void watchTerminate(QApplication& application)
{
    if (pipe(signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [] {
        char byte;
        [[maybe_unused]] const auto got = read(signalPipe[0], &byte, 1);
        closeMainWindows();
    });
    std::signal(SIGTERM, onTerminate);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenwrite"));
    QApplication::setQuitOnLastWindowClosed(false);
    watchTerminate(application);
    std::wstring commandLine;
    for (int i = 1; i < argc; ++i)
        commandLine += (i > 1 ? L" " : L"") + QString::fromLocal8Bit(argv[i]).toStdWString();
    return wWinMain(nullptr, nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
