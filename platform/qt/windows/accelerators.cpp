// Accelerator tables and TranslateAcceleratorW, and the keys the program's loop may claim. On
// Windows a key press waits in the thread's queue as WM_KEYDOWN until the program's loop takes it,
// offers it to IsDialogMessageW and TranslateAcceleratorW and only then dispatches it; the layer's
// widgets get their keys from Qt directly. So a press that the loop may claim is held back
// instead: an application-wide filter takes it from Qt and posts WM_KEYDOWN for the window it was
// meant for. Those are the presses an accelerator table names and the dialog keyboard's (Tab,
// Enter, Esc, arrows, Alt with a key, and a letter typed into a control that takes no
// characters); while one waits, every later press waits behind it, so keys keep their order.
// DispatchMessageW, when nothing claimed the press, hands it back to its widget. Every other key
// goes straight to its widget, and none is held while a box or dialog runs its own loop, where
// Windows runs neither accelerators nor the dialog keyboard of the program's windows.
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

bool isLetterOrDigit(int virtualKey)
{
    return (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
}

// A press that IsDialogMessageW may take: moving between controls, the default and Cancel
// buttons, and mnemonics.
bool isDialogKey(HWND hwnd, int virtualKey, BYTE modifiers)
{
    switch (virtualKey) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return true;
    default:
        break;
    }
    if (!isLetterOrDigit(virtualKey) || (modifiers & FCONTROL))
        return false;
    if (modifiers & FALT)
        return true;
    return hwnd->parent &&
           !(SendMessageW(hwnd, WM_GETDLGCODE, WPARAM(virtualKey), 0) & DLGC_WANTCHARS);
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
        HWND hwnd = virtualKey ? windowOfWidget(watched) : nullptr;
        if (!hwnd)
            return false;
        const bool claimed = anyTableClaims(virtualKey, modifiers);
        if (type == QEvent::ShortcutOverride) {
            if (claimed)
                key->accept(); // no widget shortcut may claim it; the press comes next
            return claimed;
        }
        if (!claimed && heldKeys().empty() && !isDialogKey(hwnd, virtualKey, modifiers))
            return false;
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

} // namespace

void holdKeysForTheLoop()
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

BYTE keyModifiersOf(const MSG& message)
{
    // The keyboard state that came with the press, as Windows keeps it in step with the queue.
    const auto held = heldKeys().find(message.time);
    return held != heldKeys().end() ? held->second.modifiers
                                    : modifiersOf(QGuiApplication::queryKeyboardModifiers());
}

void forgetHeldKey(const MSG& message)
{
    if (isKeyDown(message))
        heldKeys().erase(message.time);
}

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
    holdKeysForTheLoop();
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
    const ACCEL* entry = entryFor(*table, message->wParam, keyModifiersOf(*message));
    if (!entry)
        return 0;
    forgetHeldKey(*message); // translated: the press is used up, and no window sees it
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(entry->cmd, 1), 0);
    return 1;
}
