// Accelerator tables and TranslateAcceleratorW. On Windows a key press waits in the thread's
// queue as WM_KEYDOWN until the program's loop takes it, offers it to TranslateAcceleratorW and
// only then dispatches it; the layer's widgets get their keys from Qt directly. So a press that
// an accelerator table may claim is held back instead: an application-wide filter takes it from
// Qt and posts WM_KEYDOWN for the window it was meant for. TranslateAcceleratorW turns it into
// WM_COMMAND; DispatchMessageW, when no table claimed it, hands the press back to its widget.
// Every other key goes straight to its widget, as before, and none is held while a box or
// dialog runs its own loop, where Windows runs no accelerators either.
#include "platform/qt/windows/window_p.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <map>
#include <memory>

struct HACCEL__ {
    std::vector<ACCEL> entries;
};

namespace platform {

namespace {

constexpr BYTE modifierFlags = FSHIFT | FCONTROL | FALT;

std::vector<std::unique_ptr<HACCEL__>>& tables()
{
    static std::vector<std::unique_ptr<HACCEL__>> live;
    return live;
}

HACCEL__* tableOf(HACCEL handle)
{
    for (const auto& table : tables()) {
        if (table.get() == handle)
            return table.get();
    }
    return nullptr;
}

struct HeldKey {
    QPointer<QWidget> target;
    std::unique_ptr<QKeyEvent> press;
    BYTE modifiers;
};

// By the serial number the posted message carries as its time.
std::map<DWORD, HeldKey>& heldKeys()
{
    static std::map<DWORD, HeldKey> held;
    return held;
}

DWORD nextSerial = 1;
bool handingBack = false;

BYTE modifiersOf(Qt::KeyboardModifiers qt)
{
    BYTE modifiers = 0;
    if (qt & Qt::ShiftModifier)
        modifiers |= FSHIFT;
    if (qt & Qt::ControlModifier)
        modifiers |= FCONTROL;
    if (qt & Qt::AltModifier)
        modifiers |= FALT;
    return modifiers;
}

const ACCEL* entryFor(const HACCEL__& table, WPARAM virtualKey, BYTE modifiers)
{
    for (const ACCEL& entry : table.entries) {
        if (entry.key == virtualKey && (entry.fVirt & modifierFlags) == modifiers)
            return &entry;
    }
    return nullptr;
}

bool anyTableClaims(int virtualKey, BYTE modifiers)
{
    for (const auto& table : tables()) {
        if (entryFor(*table, WPARAM(virtualKey), modifiers))
            return true;
    }
    return false;
}

HWND windowOfWidget(const QObject* widget)
{
    for (HWND hwnd : allWindows()) {
        if (hwnd->widget == widget || hwnd->client == widget)
            return hwnd;
    }
    return nullptr;
}

class AcceleratorFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || handingBack ||
            inModalLoop())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const int virtualKey = virtualKeyOf(key);
        const BYTE modifiers = modifiersOf(key->modifiers());
        if (!virtualKey || !anyTableClaims(virtualKey, modifiers))
            return false;
        HWND hwnd = windowOfWidget(watched);
        if (!hwnd)
            return false;
        if (type == QEvent::ShortcutOverride) {
            key->accept(); // no widget shortcut may claim it; the press comes next
            return true;
        }
        const DWORD serial = nextSerial++;
        auto copy = std::make_unique<QKeyEvent>(QEvent::KeyPress, key->key(), key->modifiers(),
                                                key->nativeScanCode(), key->nativeVirtualKey(),
                                                key->nativeModifiers(), key->text(),
                                                key->isAutoRepeat(), key->count());
        heldKeys()[serial] = {static_cast<QWidget*>(watched), std::move(copy), modifiers};
        const UINT message = (modifiers & FALT) ? WM_SYSKEYDOWN : WM_KEYDOWN;
        postMessage(MSG{hwnd, message, WPARAM(virtualKey), keyDataOf(key), serial, {0, 0}});
        return true;
    }
};

void installFilter()
{
    static AcceleratorFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new AcceleratorFilter;
        qApp->installEventFilter(filter);
    }
}

bool isKeyDown(const MSG& message)
{
    return message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
}

} // namespace

bool dispatchHeldKey(const MSG& message)
{
    if (!isKeyDown(message))
        return false;
    auto found = heldKeys().find(message.time);
    if (found == heldKeys().end())
        return false;
    HeldKey key = std::move(found->second);
    heldKeys().erase(found);
    if (key.target) {
        handingBack = true;
        QCoreApplication::sendEvent(key.target, key.press.get());
        handingBack = false;
    }
    return true;
}

} // namespace platform

using namespace platform;

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count)
{
    if (!entries || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto table = std::make_unique<HACCEL__>();
    for (int i = 0; i < count; ++i) {
        if (!(entries[i].fVirt & FVIRTKEY))
            qFatal("CreateAcceleratorTableW: character-code entries are not implemented");
        table->entries.push_back(entries[i]);
    }
    installFilter();
    tables().push_back(std::move(table));
    return tables().back().get();
}

BOOL DestroyAcceleratorTable(HACCEL table)
{
    return std::erase_if(tables(), [table](const auto& entry) { return entry.get() == table; })
               ? TRUE
               : FALSE;
}

int TranslateAcceleratorW(HWND hwnd, HACCEL handle, LPMSG message)
{
    const HACCEL__* table = tableOf(handle);
    if (!live(hwnd) || !table || !message || !isKeyDown(*message))
        return 0;
    // The keyboard state that came with the press, as Windows keeps it in step with the queue.
    const auto held = heldKeys().find(message->time);
    const BYTE modifiers = held != heldKeys().end()
                               ? held->second.modifiers
                               : modifiersOf(QGuiApplication::queryKeyboardModifiers());
    const ACCEL* entry = entryFor(*table, message->wParam, modifiers);
    if (!entry)
        return 0;
    // Translated: the press is used up, and no window sees it.
    if (held != heldKeys().end())
        heldKeys().erase(held);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(entry->cmd, 1), 0);
    return 1;
}
