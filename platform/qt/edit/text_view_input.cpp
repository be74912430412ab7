// The multi-line edit control's input: keys, mouse, wheel, the context menu, the clipboard and
// input methods. Every change the user makes is reported to the parent (EN_UPDATE, EN_CHANGE).
#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"
#include "platform/text/line_breaks.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>

namespace platform {

namespace {

constexpr int wheelTurn = 120; // one notch of the wheel

bool printable(const QString& typed)
{
    return std::none_of(typed.begin(), typed.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

} // namespace

void TextView::keyPressEvent(QKeyEvent* event)
{
    deliverKey(hwnd_, event, [this](QKeyEvent* key) { widgetKey(key); });
}

void TextView::widgetKey(QKeyEvent* event)
{
    // Windows: Esc in a multi-line edit asks its parent to close.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        PostMessageW(hwnd_->parent, WM_CLOSE, 0, 0);
        return;
    }
    if (moveKey(event) || commandKey(event) || editKey(event))
        event->accept();
    else
        event->ignore();
}

bool TextView::moveKey(QKeyEvent* event)
{
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool extend = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    const TextStore& store = text();
    const std::size_t caret = model_.caret();
    const std::size_t line = store.lineOf(caret);
    std::size_t target = caret;
    switch (event->key()) {
    case Qt::Key_Left:
        if (!extend && model_.hasSelection())
            target = model_.selectionStart();
        else
            target = control ? model_.previousWordStart(caret) : model_.previousPosition(caret);
        break;
    case Qt::Key_Right:
        if (!extend && model_.hasSelection())
            target = model_.selectionEnd();
        else
            target = control ? model_.nextWordStart(caret) : model_.nextPosition(caret);
        break;
    case Qt::Key_Home:
        target = control ? 0 : store.lineStart(line);
        break;
    case Qt::Key_End:
        target = control ? store.size() : store.lineStart(line) + store.lineLength(line);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        moveVertically(event->key() == Qt::Key_Up ? -1 : 1, extend);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const long page = std::max(1, visibleLineCount());
        const long lines = event->key() == Qt::Key_PageUp ? -page : page;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(lines));
        moveVertically(lines, extend);
        return true;
    }
    default:
        return false;
    }
    model_.moveCaret(target, extend);
    finishMove();
    return true;
}

void TextView::moveVertically(long lines, bool extend)
{
    const TextStore& store = text();
    const std::size_t line = store.lineOf(model_.caret());
    if (goalX_ < 0)
        goalX_ = widths_.xOf(store, line, model_.caret() - store.lineStart(line));
    const auto target =
        std::size_t(std::clamp<long>(long(line) + lines, 0, long(store.lineCount()) - 1));
    model_.moveCaret(store.lineStart(target) + widths_.columnAt(store, target, goalX_), extend);
    finishMove(true);
}

bool TextView::commandKey(QKeyEvent* event)
{
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (modifiers == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_C:
        case Qt::Key_Insert:
            copy();
            return true;
        case Qt::Key_X:
            cut();
            return true;
        case Qt::Key_V:
            paste();
            return true;
        case Qt::Key_Z:
            undo();
            return true;
        case Qt::Key_A:
            selectAll();
            return true;
        default:
            return false;
        }
    }
    if (modifiers == Qt::ShiftModifier && key == Qt::Key_Delete) {
        cut();
        return true;
    }
    if (modifiers == Qt::ShiftModifier && key == Qt::Key_Insert) {
        paste();
        return true;
    }
    if (modifiers == Qt::AltModifier && key == Qt::Key_Backspace) {
        undo();
        return true;
    }
    return false;
}

bool TextView::editKey(QKeyEvent* event)
{
    const auto modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    const bool control = modifiers & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        if (refusedReadOnly())
            return true;
        {
            const Touched before = touched();
            if (event->key() == Qt::Key_Backspace)
                model_.eraseBackward(control);
            else
                model_.eraseForward(control);
            widths_.edited(model_.selectionStart());
            finishEdit(before);
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        typed(L"\r\n", EditModel::Fit::whole);
        return true;
    case Qt::Key_Tab:
        if (control)
            return false;
        typed(L"\t", EditModel::Fit::whole);
        return true;
    default:
        break;
    }
    const QString characters = event->text();
    // Ctrl and Alt together are AltGr on some keyboards, which types characters.
    const bool command = (modifiers & (Qt::ControlModifier | Qt::AltModifier)) &&
                         (modifiers & (Qt::ControlModifier | Qt::AltModifier)) !=
                             (Qt::ControlModifier | Qt::AltModifier);
    if (characters.isEmpty() || command)
        return false;
    if (!printable(characters)) {
        MessageBeep(MB_OK); // Windows: other control characters are refused with a beep
        return true;
    }
    typed(toWString(characters), EditModel::Fit::whole);
    return true;
}

bool TextView::refusedReadOnly()
{
    if (!(hwnd_->style & ES_READONLY))
        return false;
    MessageBeep(MB_OK);
    return true;
}

void TextView::typed(std::wstring_view typedText, EditModel::Fit fit)
{
    if (!refusedReadOnly())
        insert(typedText, fit);
}

// The program's EM_REPLACESEL changes a read-only control too; only the user cannot.
void TextView::insert(std::wstring_view typedText, EditModel::Fit fit)
{
    const Touched before = touched();
    const std::size_t from = model_.selectionStart();
    const bool fitted = model_.replaceSelection(typedText, fit);
    widths_.edited(from);
    if (!fitted) {
        QPointer<TextView> alive(this);
        notifyParent(hwnd_, EN_MAXTEXT);
        if (!alive)
            return;
    }
    finishEdit(before);
}

TextView::Touched TextView::touched() const
{
    const TextStore& store = text();
    return {store.lineCount(), store.lineOf(model_.selectionStart()),
            store.lineOf(model_.selectionEnd())};
}

void TextView::finishEdit(const Touched& before)
{
    goalX_ = -1;
    if (model_.takeChanged()) {
        told_.edited(this);
        QPointer<TextView> alive(this);
        notifyParent(hwnd_, EN_UPDATE);
        if (alive)
            notifyParent(hwnd_, EN_CHANGE);
        if (!alive)
            return;
    }
    updateScrollBars();
    showCaret();
    restartBlink();
    updateEdited(before);
    told_.moved(this);
}

// Lines above an edit keep their text; so do the lines below it when the edit left as many line
// breaks as it took. What a scroll brought into sight is already asked for.
void TextView::updateEdited(const Touched& before)
{
    const TextStore& store = text();
    const std::size_t first = std::min(before.first, store.lineOf(model_.selectionStart()));
    const std::size_t top = std::size_t(firstVisibleLine());
    int bottom = viewport()->height();
    if (store.lineCount() == before.lines) {
        const std::size_t last = std::max(before.last, store.lineOf(model_.selectionEnd()));
        if (last < top)
            return;
        bottom = std::min<long>(bottom, long(last - top + 1) * lineHeight());
    }
    const int y = first > top ? int(std::min<long>(long(first - top) * lineHeight(), bottom)) : 0;
    viewport()->update(0, y, viewport()->width(), bottom - y);
}

void TextView::finishMove(bool keepGoal)
{
    if (!keepGoal)
        goalX_ = -1;
    showCaret();
    restartBlink();
    viewport()->update();
    told_.moved(this);
}

void TextView::copy()
{
    if (!model_.hasSelection())
        return;
    const std::size_t start = model_.selectionStart();
    const std::wstring selected = text().text(start, model_.selectionEnd() - start);
    QApplication::clipboard()->setText(toQString(lineBreaks::toClipboard(selected)));
}

void TextView::cut()
{
    if (!model_.hasSelection() || refusedReadOnly())
        return;
    copy();
    erase();
}

void TextView::erase()
{
    if (model_.hasSelection())
        typed(L"", EditModel::Fit::unlimited);
}

void TextView::paste()
{
    const QString pasted = QApplication::clipboard()->text();
    if (!pasted.isEmpty())
        typed(lineBreaks::fromClipboard(toWString(pasted)), EditModel::Fit::truncate);
}

void TextView::undo()
{
    if (!model_.canUndo() || refusedReadOnly())
        return;
    const Touched before = touched();
    model_.undo();
    widths_.edited(model_.selectionStart());
    finishEdit(before);
}

void TextView::selectAll()
{
    model_.select(0, text().size());
    viewport()->update();
    told_.moved(this);
}

// Layer: only the left button is routed through the window procedure, and WM_MOUSEMOVE only
// while it is held down.
void TextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        deliverMouse(hwnd_, WM_LBUTTONDOWN, event, [this](QMouseEvent* mouse) { press(mouse); });
}

void TextView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        deliverMouse(hwnd_, WM_MOUSEMOVE, event, [this](QMouseEvent* mouse) { drag(mouse); });
}

void TextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        deliverMouse(hwnd_, WM_LBUTTONUP, event, [](QMouseEvent*) {});
}

void TextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        deliverMouse(hwnd_, WM_LBUTTONDBLCLK, event,
                     [this](QMouseEvent* mouse) { doubleClick(mouse); });
}

void TextView::press(QMouseEvent* event)
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    model_.moveCaret(positionAt(event->position().toPoint()),
                     event->modifiers() & Qt::ShiftModifier);
    finishMove();
}

void TextView::drag(QMouseEvent* event)
{
    // Past the edges the view follows the pointer, a line or a third of the width at a time.
    model_.moveCaret(positionAt(event->position().toPoint()), true);
    finishMove();
}

void TextView::doubleClick(QMouseEvent* event)
{
    const std::size_t position = positionAt(event->position().toPoint());
    model_.select(model_.wordStart(position), model_.wordEnd(position));
    finishMove();
}

void TextView::wheelEvent(QWheelEvent* event)
{
    const bool sideways = event->angleDelta().x() != 0 || (event->modifiers() & Qt::ShiftModifier);
    notifyParent(hwnd_, sideways ? EN_HSCROLL : EN_VSCROLL);
    const int lines = QApplication::wheelScrollLines();
    wheelRest_ +=
        sideways ? event->angleDelta().x() + event->angleDelta().y() : event->angleDelta().y();
    const int steps = wheelRest_ * lines / wheelTurn;
    wheelRest_ -= steps * wheelTurn / std::max(1, lines);
    if (sideways) {
        QScrollBar* bar = horizontalScrollBar();
        bar->setValue(bar->value() - steps * bar->singleStep());
    } else {
        verticalScrollBar()->setValue(verticalScrollBar()->value() - steps);
    }
    event->accept();
}

// Each command is the message a program would send, so a subclass of the control sees it too.
QMenu* TextView::contextMenu()
{
    const bool writable = !(hwnd_->style & ES_READONLY);
    const bool selected = model_.hasSelection();
    auto* menu = new QMenu(this);
    auto add = [&](const char* label, bool enabled, UINT message, WPARAM wParam = 0,
                   LPARAM lParam = 0) {
        QAction* item = menu->addAction(QString::fromLatin1(label));
        item->setEnabled(enabled);
        HWND hwnd = hwnd_;
        connect(item, &QAction::triggered, this,
                [hwnd, message, wParam, lParam] { SendMessageW(hwnd, message, wParam, lParam); });
    };
    add("&Undo", writable && model_.canUndo(), WM_UNDO);
    menu->addSeparator();
    add("Cu&t", writable && selected, WM_CUT);
    add("&Copy", selected, WM_COPY);
    add("&Paste", writable && !QApplication::clipboard()->text().isEmpty(), WM_PASTE);
    add("&Delete", writable && selected, WM_CLEAR);
    menu->addSeparator();
    add("Select &All", text().size() > 0, EM_SETSEL, 0, -1);
    return menu;
}

// Windows: the right button sends WM_CONTEXTMENU through the window procedure, so a subclass can
// show a menu of its own; the control shows its own when the message reaches it.
void TextView::contextMenuEvent(QContextMenuEvent* event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? viewport()->mapToGlobal(pointOf(model_.caret()))
                          : event->globalPos();
    const LPARAM where = event->reason() == QContextMenuEvent::Keyboard
                             ? LPARAM(-1)
                             : MAKELPARAM(WORD(short(at.x())), WORD(short(at.y())));
    deliverInput(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), where,
                 [this, at] { showContextMenu(at); });
    event->accept();
}

void TextView::showContextMenu(QPoint at)
{
    QPointer<QMenu> menu = contextMenu();
    {
        ModalScope modal;
        menu->exec(at);
    }
    delete menu.data(); // null when a command destroyed the control, and the menu with it
}

void TextView::inputMethodEvent(QInputMethodEvent* event)
{
    if (hwnd_->style & ES_READONLY) {
        event->ignore();
        return;
    }
    preedit_ = event->preeditString();
    const QString commit = event->commitString();
    // Windows: what the input method settles on comes as WM_IME_CHAR through the window
    // procedure, which a subclass sees before the control types it.
    if (!commit.isEmpty())
        deliverInput(hwnd_, WM_IME_CHAR, WPARAM(commit.front().unicode()), 1,
                     [this, commit] { typed(toWString(commit), EditModel::Fit::whole); });
    else
        viewport()->update();
    event->accept();
}

} // namespace platform
