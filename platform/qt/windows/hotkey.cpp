// Hot keys: an application-wide key filter that takes a registered combination away from every
// widget and posts WM_HOTKEY, ahead of other posted messages, to the window that registered it.
#include "platform/qt/windows/window_p.h"

#include <QApplication>
#include <QKeyEvent>

namespace platform {

namespace {

struct HotKey {
    HWND hwnd;
    int id;
    UINT modifiers;
    UINT virtualKey;
};

std::vector<HotKey>& hotKeys()
{
    static std::vector<HotKey> registered;
    return registered;
}

constexpr UINT modifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

UINT modifiersOf(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers qt = event->modifiers();
    UINT modifiers = 0;
    if (qt & Qt::ControlModifier)
        modifiers |= MOD_CONTROL;
    if (qt & Qt::ShiftModifier)
        modifiers |= MOD_SHIFT;
    if (qt & Qt::AltModifier)
        modifiers |= MOD_ALT;
    if (qt & Qt::MetaModifier)
        modifiers |= MOD_WIN;
    return modifiers;
}

const HotKey* matching(const QKeyEvent* event)
{
    const int virtualKey = virtualKeyOf(event);
    const UINT modifiers = modifiersOf(event);
    for (const HotKey& hotKey : hotKeys()) {
        if (hotKey.virtualKey == UINT(virtualKey) && (hotKey.modifiers & modifierMask) == modifiers)
            return &hotKey;
    }
    return nullptr;
}

class HotKeyFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        const HotKey* hotKey = matching(key);
        if (!hotKey)
            return false;
        if (type == QEvent::ShortcutOverride) {
            key->accept(); // no widget shortcut may claim it; the press comes next
            return true;
        }
        if (!(key->isAutoRepeat() && (hotKey->modifiers & MOD_NOREPEAT))) {
            postAhead(hotKey->hwnd, WM_HOTKEY, WPARAM(hotKey->id),
                      MAKELPARAM(WORD(hotKey->modifiers & modifierMask), WORD(hotKey->virtualKey)));
        }
        return true;
    }
};

void installFilter()
{
    static HotKeyFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new HotKeyFilter;
        qApp->installEventFilter(filter);
    }
}

} // namespace

void unregisterHotKeysOf(HWND hwnd)
{
    std::erase_if(hotKeys(), [hwnd](const HotKey& hotKey) { return hotKey.hwnd == hwnd; });
}

} // namespace platform

using namespace platform;

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT virtualKey)
{
    if (!live(hwnd))
        return FALSE;
    for (const HotKey& hotKey : hotKeys()) {
        const bool sameKeys = hotKey.virtualKey == virtualKey &&
                              (hotKey.modifiers & modifierMask) == (modifiers & modifierMask);
        if (sameKeys || (hotKey.hwnd == hwnd && hotKey.id == id)) {
            SetLastError(1409); // ERROR_HOTKEY_ALREADY_REGISTERED
            return FALSE;
        }
    }
    installFilter();
    hotKeys().push_back({hwnd, id, modifiers, virtualKey});
    return TRUE;
}

BOOL UnregisterHotKey(HWND hwnd, int id)
{
    const auto removed = std::erase_if(hotKeys(), [hwnd, id](const HotKey& hotKey) {
        return hotKey.hwnd == hwnd && hotKey.id == id;
    });
    if (!removed) {
        SetLastError(1419); // ERROR_HOTKEY_NOT_REGISTERED
        return FALSE;
    }
    return TRUE;
}
