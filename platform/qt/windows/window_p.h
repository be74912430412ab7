// The layer's window record behind an HWND and what the control kinds share with the window core.
#pragma once

#include "platform/qt/gdi/gdi_p.h"
#include "platform/win32.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QKeyEvent;
class QMouseEvent;

namespace platform {

// Makes the Qt widget of a control; parent is the client area of the control's parent window.
using WidgetFactory = QWidget* (*)(HWND hwnd, QWidget* parent);

struct WindowClass {
    std::wstring name;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HBRUSH background = nullptr;
    WidgetFactory createWidget = nullptr; // null for the program's own classes
};

} // namespace platform

// Records are never freed: a handle of a destroyed window stays a valid pointer to a record
// marked destroyed, so a stale handle reads as "no such window" instead of freed memory.
struct HWND__ {
    const platform::WindowClass* windowClass = nullptr;
    WNDPROC procedure = nullptr;
    HWND parent = nullptr; // children: the parent window
    HWND owner = nullptr;  // top-level windows: the owner
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    HINSTANCE instance = nullptr;
    HMENU menu = nullptr;
    std::wstring text;
    RECT rect = {0, 0, 0, 0}; // outer rectangle: screen for top-level, parent client for children
    bool enabled = true;
    bool visible = false;
    bool minimized = false;
    bool destroyed = false;
    HFONT font = nullptr;
    LONG userData = 0;
    QPointer<QWidget> widget; // top-level: the frame; child: the control
    QPointer<QWidget> client; // where child widgets live (the control itself for controls)
    std::vector<HWND> children;
};

namespace platform {

// The live record behind a handle, or null for a null, unknown or destroyed window.
HWND__* live(HWND hwnd);

bool isTopLevel(HWND hwnd);
HWND topLevelOf(HWND hwnd);

// Sends WM_COMMAND with the control's identifier and the code to the control's parent.
void notifyParent(HWND control, WORD code);

// Sends an input message to the window's procedure with the widget's own handling waiting:
// the control's class procedure runs it with runPendingInput. Returns whether it ran, that is
// whether no subclass kept the input from the control.
bool deliverInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                  std::function<void()> handling);
bool runPendingInput(HWND hwnd, UINT message);

// Routes a key press through the window's procedure as WM_KEYDOWN; the control's class procedure
// hands it back to the widget's own handling with runDefaultKey. So a subclass sees every key
// first.
void deliverKey(HWND hwnd, QKeyEvent* event, std::function<void(QKeyEvent*)> widgetHandling);
void runDefaultKey(HWND hwnd, WPARAM virtualKey, LPARAM keyData);
// The same for the left mouse button: WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MOUSEMOVE while it
// is held, WM_LBUTTONUP, in the control's client coordinates.
void deliverMouse(HWND hwnd, UINT message, QMouseEvent* event,
                  std::function<void(QMouseEvent*)> widgetHandling);

// Qt told us that a widget of ours gained the keyboard focus.
void focusGained(HWND hwnd);

// Translation of Qt's key codes to virtual keys; 0 when there is none.
int virtualKeyOf(const QKeyEvent* event);
// WM_KEYDOWN's lParam for a press: repeat count, scan code, previous key state.
LPARAM keyDataOf(const QKeyEvent* event);
Qt::Key qtKeyOf(WPARAM virtualKey);

// The control kinds: class procedures and widget makers, one source file each.
LRESULT CALLBACK editClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
QWidget* createEditWidget(HWND hwnd, QWidget* parent);
LRESULT CALLBACK listBoxClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
QWidget* createListBoxWidget(HWND hwnd, QWidget* parent);
LRESULT CALLBACK buttonClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
QWidget* createButtonWidget(HWND hwnd, QWidget* parent);
LRESULT CALLBACK staticClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
QWidget* createStaticWidget(HWND hwnd, QWidget* parent);
LRESULT CALLBACK statusBarClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
QWidget* createStatusBarWidget(HWND hwnd, QWidget* parent);

// The background a static control or check box draws on: it asks its parent with the
// WM_CTLCOLOR message and paints with the brush returned, the system face colour by default.
QColor controlBackground(HWND control, UINT message);

const WindowClass* findClass(const wchar_t* name);
const WindowClass* findSystemClass(const wchar_t* name);
bool sameClassName(const WindowClass& windowClass, const wchar_t* name);

// Every live window, in creation order.
std::vector<HWND> allWindows();

// Makes a top-level window the active one (null: none of ours), sending WM_ACTIVATE to the
// window losing activation and then to the one gaining it, as Windows does.
void activate(HWND top, WORD how);

// While a message box or file dialog is shown: its owner is inactive, and activated again (with
// WA_ACTIVE, so its DefWindowProcW focuses it) when the box closes.
class ModalActivation {
public:
    explicit ModalActivation(HWND owner);
    ~ModalActivation();
    ModalActivation(const ModalActivation&) = delete;
    ModalActivation& operator=(const ModalActivation&) = delete;

private:
    HWND owner_;
    HWND previous_;
};

// Takes the keyboard focus from a window that is going away or hidden, and forgets a destroyed
// window in the activation records.
void dropFocusWithin(HWND hwnd);
void forgetWindow(HWND hwnd);

// Releases the hot keys a destroyed window registered, and ends its timers.
void unregisterHotKeysOf(HWND hwnd);
void killTimersOf(HWND hwnd);

// Sends WM_SIZE with the window's client size.
void sendSize(HWND hwnd, WPARAM kind);

// While one exists, a modal loop of a box or dialog runs: posted messages are dispatched from it.
struct ModalScope {
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};
bool inModalLoop();

// From now on SIGTERM and SIGHUP end the session as Windows ends one (WM_QUERYENDSESSION,
// WM_ENDSESSION, then exit code 0).
void watchSessionEnd();

// The posted-message queue, for hot keys (which jump the queue) and the test seam.
void postAhead(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Dispatches everything queued, each message offered to translate first as the program's own
// loop offers it to TranslateAcceleratorW; false when the queue was empty.
bool dispatchPosted(bool (*translate)(MSG* message) = nullptr);

// Queues a message as PostMessageW does, with all its fields.
void postMessage(const MSG& message);
// Posts the message unless the same one still waits in the queue (WM_TIMER is not repeated).
void postUnlessQueued(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Key presses that an accelerator table may claim wait in the posted queue as WM_KEYDOWN, as on
// Windows, so that the program's loop can translate them. Dispatching one hands the press back
// to its widget; false for any other message.
bool dispatchHeldKey(const MSG& message);
// From now on the presses that the program's loop may claim are held for it; the first accelerator
// table or GetMessageW call (or the test seam's loop) says that the program runs a loop of its own.
void holdKeysForTheLoop();
bool isKeyDown(const MSG& message); // WM_KEYDOWN or WM_SYSKEYDOWN
// FSHIFT, FCONTROL and FALT as they were when the key was pressed.
BYTE keyModifiersOf(const MSG& message);
// The press was used up by the loop: no widget gets it.
void forgetHeldKey(const MSG& message);
bool quitRequested();
int quitExitCode();

} // namespace platform
