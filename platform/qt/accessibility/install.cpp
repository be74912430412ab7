// The factory Qt asks first for a widget's screen reader interface.
#include "platform/qt/accessibility/install_p.h"

#include "platform/qt/accessibility/accessible_text_view_p.h"
#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/windows/frame_p.h"
#include "platform/qt/windows/window_p.h"

#include <QAccessibleWidget>

namespace platform {

namespace {

QAccessibleInterface* interfaceFor(const QString&, QObject* object)
{
    // The layer's widgets have no meta-objects of their own: Qt asks with their base class's name.
    if (auto* view = dynamic_cast<TextView*>(object))
        return new AccessibleTextView(view);
    // A plain widget would be a nameless part of a window: a frame is the window, or with an
    // owner the dialog.
    if (auto* frame = dynamic_cast<FrameWidget*>(object)) {
        const HWND__* record = live(frame->handle());
        const bool owned = record && record->owner;
        return new QAccessibleWidget(frame, owned ? QAccessible::Dialog : QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = (QAccessible::installFactory(interfaceFor), true);
    (void)installed;
}

} // namespace platform
