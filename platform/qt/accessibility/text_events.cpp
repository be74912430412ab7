// The text, caret and selection events of the multi-line edit control.
#include "platform/qt/accessibility/text_events_p.h"

#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/hooks_p.h"
#include "platform/qt/text_p.h"

#include <QAccessible>

#include <algorithm>
#include <climits>

namespace platform {

ScreenReaderHook screenReaderHook = nullptr;

namespace {

bool listening()
{
    return QAccessible::isActive() || screenReaderHook;
}

void tell(QAccessibleEvent& event)
{
    if (screenReaderHook)
        screenReaderHook(&event);
    else
        QAccessible::updateAccessibility(&event);
}

int offsetOf(std::size_t position)
{
    return int(std::min<std::size_t>(position, INT_MAX));
}

// The inserted characters when they are few; a long insertion is told without them.
QString insertedText(const TextView* view, const EditModel::Edit& edit)
{
    if (edit.inserted > longestToldText)
        return QString();
    return toQString(view->text().text(edit.position, edit.inserted));
}

void tellEdit(TextView* view, const EditModel::Edit& edit)
{
    const int at = offsetOf(edit.position);
    const bool removedKnown = edit.removedText.size() == edit.removed;
    const bool insertedKnown = edit.inserted <= longestToldText;
    const QString removed = removedKnown ? toQString(edit.removedText) : QString();
    const QString inserted = insertedKnown ? insertedText(view, edit) : QString();
    if (removedKnown && insertedKnown && edit.removed == 0) {
        QAccessibleTextInsertEvent event(view, at, inserted);
        tell(event);
    } else if (removedKnown && insertedKnown && edit.inserted == 0) {
        QAccessibleTextRemoveEvent event(view, at, removed);
        tell(event);
    } else {
        QAccessibleTextUpdateEvent event(view, at, removed, inserted);
        tell(event);
    }
}

} // namespace

void TextEvents::edited(TextView* view)
{
    if (listening())
        tellEdit(view, view->model().lastEdit());
}

void TextEvents::moved(TextView* view)
{
    const EditModel& model = view->model();
    const std::size_t caret = model.caret();
    // An empty selection is none, wherever the caret is.
    const std::size_t start = model.hasSelection() ? model.selectionStart() : 0;
    const std::size_t end = model.hasSelection() ? model.selectionEnd() : 0;
    const bool selectionMoved = start != start_ || end != end_;
    const bool caretMoved = caret != caret_;
    caret_ = caret;
    start_ = start;
    end_ = end;
    if (!listening())
        return;
    if (selectionMoved) {
        QAccessibleTextSelectionEvent event(view, offsetOf(model.selectionStart()),
                                            offsetOf(model.selectionEnd()));
        event.setCursorPosition(offsetOf(caret));
        tell(event);
    }
    if (caretMoved) {
        QAccessibleTextCursorEvent event(view, offsetOf(caret));
        tell(event);
    }
}

} // namespace platform
