// Window classes and window records: creation with its messages, destruction, geometry, window
// longs, window text and the default window procedure.
#include "platform/qt/handles_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/frame_p.h"
#include "platform/qt/windows/metrics_p.h"
#include "platform/qt/windows/window_p.h"

#include <QApplication>

#include <cwctype>
#include <memory>

namespace platform {

namespace {

// Function-local statics: the editor's static initialisation may run before anything else here.
std::vector<std::unique_ptr<WindowClass>>& programClasses()
{
    static std::vector<std::unique_ptr<WindowClass>> classes;
    return classes;
}

HandleRegistry<HWND__>& records()
{
    static HandleRegistry<HWND__> all;
    return all;
}

int& cascadeIndex()
{
    static int index = 0;
    return index;
}

HWND newRecord()
{
    return records().add(std::make_unique<HWND__>());
}

bool sameClassName(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::towlower(wint_t(a[i])) != std::towlower(wint_t(b[i])))
            return false;
    }
    return i == a.size() && !b[i];
}

bool usesDefault(int value)
{
    return value == CW_USEDEFAULT;
}

RECT topLevelRect(int x, int y, int width, int height)
{
    if (usesDefault(x)) {
        const int step = metrics::cascadeStep * (cascadeIndex()++ % 8);
        x = metrics::defaultX + step;
        y = metrics::defaultY + step;
    }
    if (usesDefault(width)) {
        width = 640;
        height = 480;
    }
    return {x, y, x + width, y + height};
}

void placeTopLevel(HWND hwnd)
{
    const RECT r = hwnd->rect;
    const auto frame = metrics::frameOf(hwnd->style, hwnd->menu != nullptr);
    auto* widget = static_cast<FrameWidget*>(hwnd->widget.data());
    widget->move(int(r.left + frame.left), int(r.top + frame.top));
    const int width = std::max(0, int(r.right - r.left) - frame.left - frame.right);
    const int height = std::max(0, int(r.bottom - r.top) - frame.top - frame.bottom);
    widget->setClientSize(width, height);
}

Qt::WindowFlags frameFlags(DWORD style)
{
    if (style & WS_THICKFRAME)
        return Qt::Window;
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

void makeFrame(HWND hwnd)
{
    HWND owner = hwnd->owner;
    auto* frame = new FrameWidget(hwnd, owner ? owner->widget.data() : nullptr);
    frame->setWindowFlags(frameFlags(hwnd->style));
    if (!(hwnd->style & WS_THICKFRAME))
        frame->setFixedSize(1, 1); // fixed size: setClientSize keeps it fixed at the real size
    frame->setWindowTitle(toQString(hwnd->text));
    applyIcon(frame, hwnd->windowClass->icon ? hwnd->windowClass->icon : defaultIcon());
    hwnd->widget = frame;
    hwnd->client = frame->client();
    placeTopLevel(hwnd);
}

void makeChildWidget(HWND hwnd)
{
    QWidget* parentClient = hwnd->parent->client;
    QWidget* widget = hwnd->windowClass->createWidget
                          ? hwnd->windowClass->createWidget(hwnd, parentClient)
                          : new ClientWidget(hwnd, parentClient);
    hwnd->widget = widget;
    if (!hwnd->client)
        hwnd->client = widget;
    const RECT r = hwnd->rect;
    widget->setGeometry(int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top));
    widget->setEnabled(hwnd->enabled);
}

bool sendCreation(HWND hwnd, HMENU menu, HINSTANCE instance, LPVOID param, LPCWSTR className)
{
    CREATESTRUCTW create = {};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = hwnd->parent ? hwnd->parent : hwnd->owner;
    create.x = int(hwnd->rect.left);
    create.y = int(hwnd->rect.top);
    create.cx = int(hwnd->rect.right - hwnd->rect.left);
    create.cy = int(hwnd->rect.bottom - hwnd->rect.top);
    create.style = LONG(hwnd->style);
    create.lpszName = hwnd->text.c_str();
    create.lpszClass = className;
    create.dwExStyle = hwnd->exStyle;
    const auto lParam = reinterpret_cast<LPARAM>(&create);
    if (!SendMessageW(hwnd, WM_NCCREATE, 0, lParam))
        return false;
    SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, 0);
    return SendMessageW(hwnd, WM_CREATE, 0, lParam) != -1;
}

LPARAM sizeParam(HWND hwnd)
{
    RECT client;
    GetClientRect(hwnd, &client);
    return MAKELPARAM(WORD(client.right), WORD(client.bottom));
}

void destroyTree(HWND hwnd)
{
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    for (HWND child : hwnd->children) {
        if (live(child))
            destroyTree(child);
    }
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    dropFocusWithin(hwnd);
    unregisterHotKeysOf(hwnd);
    killTimersOf(hwnd);
    hwnd->destroyed = true;
}

void copyText(const std::wstring& text, WPARAM size, LPARAM buffer, LRESULT& copied)
{
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (!out || size == 0) {
        copied = 0;
        return;
    }
    const size_t count = std::min(text.size(), size_t(size) - 1);
    text.copy(out, count);
    out[count] = L'\0';
    copied = LRESULT(count);
}

} // namespace

HWND__* live(HWND hwnd)
{
    if (!hwnd || !records().contains(hwnd) || hwnd->destroyed)
        return nullptr;
    return hwnd;
}

bool isTopLevel(HWND hwnd)
{
    return live(hwnd) && !(hwnd->style & WS_CHILD);
}

HWND topLevelOf(HWND hwnd)
{
    while (live(hwnd) && (hwnd->style & WS_CHILD))
        hwnd = hwnd->parent;
    return live(hwnd);
}

const WindowClass* findClass(const wchar_t* name)
{
    if (!name)
        return nullptr;
    for (const auto& windowClass : programClasses()) {
        if (sameClassName(windowClass->name, name))
            return windowClass.get();
    }
    return findSystemClass(name);
}

bool sameClassName(const WindowClass& windowClass, const wchar_t* name)
{
    return sameClassName(windowClass.name, name);
}

void sendSize(HWND hwnd, WPARAM kind)
{
    SendMessageW(hwnd, WM_SIZE, kind, kind == SIZE_MINIMIZED ? 0 : sizeParam(hwnd));
}

void clientResized(HWND hwnd, int width, int height)
{
    if (!live(hwnd) || hwnd->minimized)
        return;
    RECT current;
    GetClientRect(hwnd, &current);
    if (current.right == width && current.bottom == height)
        return;
    const auto frame = metrics::frameOf(hwnd->style, hwnd->menu != nullptr);
    hwnd->rect.right = hwnd->rect.left + width + frame.left + frame.right;
    hwnd->rect.bottom = hwnd->rect.top + height + frame.top + frame.bottom;
    const bool maximized = hwnd->widget && hwnd->widget->isMaximized();
    sendSize(hwnd, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
}

void windowStateChanged(HWND hwnd, bool minimized, bool maximized)
{
    if (!live(hwnd) || minimized == hwnd->minimized)
        return;
    static RECT restored;
    hwnd->minimized = minimized;
    if (minimized) {
        restored = hwnd->rect;
        const int x = metrics::parkedPosition;
        hwnd->rect = {x, x, x + metrics::minimizedWidth, x + metrics::minimizedHeight};
        sendSize(hwnd, SIZE_MINIMIZED);
        activate(nullptr, WA_INACTIVE);
    } else {
        hwnd->rect = restored;
        placeTopLevel(hwnd);
        sendSize(hwnd, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
    }
}

FrameWidget* frameOf(HWND hwnd)
{
    return isTopLevel(hwnd) ? static_cast<FrameWidget*>(hwnd->widget.data()) : nullptr;
}

void replaceMenuBar(HWND hwnd, QMenuBar* bar)
{
    FrameWidget* frame = frameOf(hwnd);
    if (!frame)
        return;
    frame->setMenuBar(bar);
    placeTopLevel(hwnd);
    sendSize(hwnd, SIZE_RESTORED);
}

std::vector<HWND> allWindows()
{
    std::vector<HWND> result;
    for (const auto& record : records().all()) {
        if (live(record.get()))
            result.push_back(record.get());
    }
    return result;
}

} // namespace platform

using namespace platform;

ATOM RegisterClassW(const WNDCLASSW* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc)
        return 0;
    for (const auto& existing : programClasses()) {
        if (sameClassName(existing->name, windowClass->lpszClassName)) {
            SetLastError(1410); // ERROR_CLASS_ALREADY_EXISTS
            return 0;
        }
    }
    auto registered = std::make_unique<WindowClass>();
    registered->name = windowClass->lpszClassName;
    registered->procedure = windowClass->lpfnWndProc;
    registered->instance = windowClass->hInstance;
    registered->icon = windowClass->hIcon;
    registered->background = windowClass->hbrBackground;
    programClasses().push_back(std::move(registered));
    return ATOM(0xC000 + programClasses().size());
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param)
{
    const WindowClass* windowClass = findClass(className);
    const bool child = style & WS_CHILD;
    if (!windowClass || !qApp || (child && !live(parent))) {
        SetLastError(windowClass ? 1406 : 1407); // cannot create a top-level child / class missing
        return nullptr;
    }
    HWND hwnd = newRecord();
    hwnd->windowClass = windowClass;
    hwnd->procedure = windowClass->procedure;
    hwnd->style = style;
    hwnd->exStyle = exStyle;
    hwnd->instance = instance;
    hwnd->text = windowName ? windowName : L"";
    hwnd->enabled = !(style & WS_DISABLED);
    if (child) {
        hwnd->parent = parent;
        hwnd->id = int(reinterpret_cast<LONG_PTR>(menu));
        if (usesDefault(x))
            x = y = 0;
        hwnd->rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
        parent->children.push_back(hwnd);
        makeChildWidget(hwnd);
    } else {
        hwnd->owner = topLevelOf(parent);
        hwnd->menu = menu;
        hwnd->rect = topLevelRect(x, y, width, height);
        makeFrame(hwnd);
    }
    if (!sendCreation(hwnd, menu, instance, param, className)) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (child) {
        sendSize(hwnd, SIZE_RESTORED);
        SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(WORD(x), WORD(y)));
        if (style & WS_VISIBLE) {
            hwnd->visible = true;
            hwnd->widget->show();
        }
    } else if (style & WS_VISIBLE) {
        // Windows shows a visible default-placed window at once, which activates it.
        hwnd->style &= ~WS_VISIBLE;
        ShowWindow(hwnd, SW_SHOW);
    }
    return hwnd;
}

BOOL IsWindow(HWND hwnd)
{
    return live(hwnd) ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND hwnd)
{
    if (!live(hwnd))
        return FALSE;
    for (HWND other : allWindows()) {
        if (other->owner == hwnd && live(other))
            DestroyWindow(other);
    }
    if (hwnd->widget)
        hwnd->widget->hide();
    forgetWindow(hwnd);
    destroyTree(hwnd);
    if (hwnd->widget)
        hwnd->widget->deleteLater();
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command)
{
    if (!live(hwnd))
        return FALSE;
    const BOOL wasVisible = hwnd->visible ? TRUE : FALSE;
    QWidget* widget = hwnd->widget;
    if (command == SW_HIDE) {
        hwnd->visible = false;
        hwnd->style &= ~WS_VISIBLE;
        widget->hide();
        return wasVisible;
    }
    hwnd->visible = true;
    hwnd->style |= WS_VISIBLE;
    if (!isTopLevel(hwnd)) {
        widget->show();
        return wasVisible;
    }
    if (command == SW_SHOWMINIMIZED || command == SW_MINIMIZE || command == SW_SHOWMINNOACTIVE) {
        widget->showMinimized();
        windowStateChanged(hwnd, true, false);
        return wasVisible;
    }
    if (hwnd->minimized) {
        widget->showNormal();
        windowStateChanged(hwnd, false, false);
    }
    if (!wasVisible)
        sendSize(hwnd, SIZE_RESTORED);
    if (command == SW_SHOWMAXIMIZED)
        widget->showMaximized();
    else
        widget->show();
    const bool activating = command != SW_SHOWNOACTIVATE && command != SW_SHOWNA;
    if (activating && hwnd->enabled)
        activate(hwnd, WA_ACTIVE);
    return wasVisible;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags)
{
    if (!live(hwnd))
        return FALSE;
    RECT& r = hwnd->rect;
    if (!(flags & SWP_NOMOVE)) {
        const LONG width = r.right - r.left;
        const LONG height = r.bottom - r.top;
        r = {x, y, x + width, y + height};
    }
    const bool resizing = !(flags & SWP_NOSIZE);
    if (resizing) {
        // Negative sizes, as a minimised main window computes for its edit control, act as 0.
        r.right = r.left + std::max(0, cx);
        r.bottom = r.top + std::max(0, cy);
    }
    if (isTopLevel(hwnd)) {
        placeTopLevel(hwnd);
    } else {
        hwnd->widget->setGeometry(int(r.left), int(r.top), int(r.right - r.left),
                                  int(r.bottom - r.top));
    }
    if (resizing)
        sendSize(hwnd, SIZE_RESTORED);
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect)
{
    if (!live(hwnd) || !rect)
        return FALSE;
    RECT r = hwnd->rect;
    for (HWND parent = hwnd->parent; live(parent) && (hwnd->style & WS_CHILD);) {
        RECT outer = parent->rect;
        LONG dx = outer.left;
        LONG dy = outer.top;
        if (isTopLevel(parent)) {
            const auto frame = metrics::frameOf(parent->style, parent->menu != nullptr);
            dx += frame.left;
            dy += frame.top;
        }
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
        hwnd = parent;
        parent = parent->parent;
    }
    *rect = r;
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
    if (!live(hwnd) || !rect)
        return FALSE;
    const RECT r = hwnd->rect;
    LONG width = r.right - r.left;
    LONG height = r.bottom - r.top;
    if (isTopLevel(hwnd)) {
        const auto frame = metrics::frameOf(hwnd->style, hwnd->menu != nullptr);
        width = hwnd->minimized ? 0 : std::max(0L, width - frame.left - frame.right);
        height = hwnd->minimized ? 0 : std::max(0L, height - frame.top - frame.bottom);
    }
    *rect = {0, 0, width, height};
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL)
{
    if (!live(hwnd) || !hwnd->client)
        return FALSE;
    if (rect)
        hwnd->client->update(int(rect->left), int(rect->top), int(rect->right - rect->left),
                             int(rect->bottom - rect->top));
    else
        hwnd->client->update();
    return TRUE;
}

HWND GetDlgItem(HWND parent, int id)
{
    if (!live(parent))
        return nullptr;
    for (HWND child : parent->children) {
        if (live(child) && child->id == id)
            return child;
    }
    return nullptr;
}

LONG GetWindowLongW(HWND hwnd, int index)
{
    if (!live(hwnd))
        return 0;
    switch (index) {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG>(hwnd->procedure);
    case GWL_HINSTANCE:
        return reinterpret_cast<LONG>(hwnd->instance);
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG>(hwnd->parent ? hwnd->parent : hwnd->owner);
    case GWL_ID:
        return hwnd->id;
    case GWL_STYLE:
        return LONG(hwnd->style);
    case GWL_EXSTYLE:
        return LONG(hwnd->exStyle);
    case GWL_USERDATA:
        return hwnd->userData;
    default:
        return 0;
    }
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value)
{
    if (!live(hwnd))
        return 0;
    const LONG previous = GetWindowLongW(hwnd, index);
    switch (index) {
    case GWL_WNDPROC:
        hwnd->procedure = reinterpret_cast<WNDPROC>(value);
        break;
    case GWL_ID:
        hwnd->id = int(value);
        break;
    case GWL_USERDATA:
        hwnd->userData = value;
        break;
    default:
        return 0; // Layer: styles, instance and owner are fixed once the window exists.
    }
    return previous;
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return procedure ? procedure(hwnd, message, wParam, lParam) : 0;
}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!live(hwnd) && !(message == WM_NCDESTROY || message == WM_DESTROY))
        return 0;
    if (!records().contains(hwnd) || !hwnd->procedure)
        return 0;
    return hwnd->procedure(hwnd, message, wParam, lParam);
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")) ? TRUE
                                                                                          : FALSE;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text)
{
    std::wstring wide;
    for (const char* p = text ? text : ""; *p; ++p)
        wide.push_back(wchar_t(static_cast<unsigned char>(*p)));
    return SetWindowTextW(hwnd, wide.c_str());
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size)
{
    if (size <= 0 || !buffer)
        return 0;
    buffer[0] = L'\0';
    return int(SendMessageW(hwnd, WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd)
{
    return int(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!live(hwnd))
        return 0;
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        // A plain window does not remember its focused child: activation focuses the frame.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            SetFocus(hwnd);
        return 0;
    case WM_SETTEXT:
        hwnd->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        if (isTopLevel(hwnd) && hwnd->widget)
            hwnd->widget->setWindowTitle(toQString(hwnd->text));
        return TRUE;
    case WM_GETTEXT: {
        LRESULT copied = 0;
        copyText(hwnd->text, wParam, lParam, copied);
        return copied;
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(hwnd->text.size());
    case WM_SETFONT:
        hwnd->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(hwnd->font);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return COLOR_3DFACE + 1;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return COLOR_WINDOW + 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    default:
        return 0;
    }
}
