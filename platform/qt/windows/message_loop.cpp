// The posted-message queue and the message loop on top of Qt's event loop. Posted messages wait
// in our own queue; a posted event only wakes Qt, and modal loops drain the queue as Windows'
// modal loops dispatch posted messages.
#include "platform/qt/windows/window_p.h"

#include <QCoreApplication>
#include <QEvent>

#include <deque>

namespace platform {

namespace {

std::deque<MSG>& queue()
{
    static std::deque<MSG> messages;
    return messages;
}

int modalDepth = 0;
bool quitPending = false;
int exitCode = 0;

class Waker : public QObject {
public:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (modalDepth > 0)
            dispatchPosted();
        return true;
    }
};

void wake()
{
    if (!QCoreApplication::instance())
        return;
    static Waker* waker = new Waker; // lives as long as the process, like the queue
    QCoreApplication::postEvent(waker, new QEvent(QEvent::User));
}

bool takeMessage(MSG& message)
{
    if (queue().empty())
        return false;
    message = queue().front();
    queue().pop_front();
    return true;
}

} // namespace

ModalScope::ModalScope()
{
    ++modalDepth;
}

ModalScope::~ModalScope()
{
    --modalDepth;
}

bool inModalLoop()
{
    return modalDepth > 0;
}

void postAhead(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Ahead of the other posted messages, but behind the ones that jumped the queue before.
    auto& messages = queue();
    auto place = messages.begin();
    while (place != messages.end() && place->message == message)
        ++place;
    messages.insert(place, MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    wake();
}

void postUnlessQueued(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const MSG& queued : queue()) {
        if (queued.hwnd == hwnd && queued.message == message && queued.wParam == wParam)
            return;
    }
    PostMessageW(hwnd, message, wParam, lParam);
}

bool dispatchPosted(bool (*translate)(MSG* message))
{
    bool any = false;
    MSG message;
    while (takeMessage(message)) {
        any = true;
        if (!translate || !translate(&message))
            DispatchMessageW(&message);
    }
    return any;
}

void postMessage(const MSG& message)
{
    queue().push_back(message);
    wake();
}

bool quitRequested()
{
    return quitPending;
}

int quitExitCode()
{
    return exitCode;
}

} // namespace platform

using namespace platform;

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && !live(hwnd))
        return FALSE;
    postMessage(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    return TRUE;
}

void PostQuitMessage(int code)
{
    quitPending = true;
    exitCode = code;
    wake();
}

BOOL GetMessageW(LPMSG message, HWND, UINT, UINT)
{
    holdKeysForTheLoop();
    for (;;) {
        if (takeMessage(*message))
            return TRUE;
        if (quitPending) {
            *message = MSG{nullptr, WM_QUIT, WPARAM(exitCode), 0, 0, {0, 0}};
            return FALSE;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

BOOL TranslateMessage(const MSG*)
{
    // Layer: characters reach the controls with the key press itself, so there is no WM_CHAR.
    return FALSE;
}

LRESULT DispatchMessageW(const MSG* message)
{
    if (!message || dispatchHeldKey(*message) || !live(message->hwnd))
        return 0;
    // A timer with its own procedure calls that instead of the window's.
    if (message->message == WM_TIMER && message->lParam) {
        reinterpret_cast<TIMERPROC>(message->lParam)(message->hwnd, WM_TIMER, message->wParam,
                                                     GetTickCount());
        return 0;
    }
    return SendMessageW(message->hwnd, message->message, message->wParam, message->lParam);
}
