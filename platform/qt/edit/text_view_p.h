// The multi-line edit control's widget: its own text view, because a document of a hundred
// megabytes must open, scroll and take key presses at once. It keeps the exact Windows text in an
// EditModel, draws only the lines in sight and never wraps (the control has a horizontal scroll
// bar). Vertical scrolling counts lines, horizontal scrolling pixels.
#pragma once

#include "platform/qt/accessibility/text_events_p.h"
#include "platform/qt/edit/text_widths_p.h"
#include "platform/text/edit_model.h"
#include "platform/text/flat_text.h"
#include "platform/win32.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>

#include <string_view>

class QMenu;

namespace platform {

class TextView : public QAbstractScrollArea {
public:
    TextView(HWND hwnd, QWidget* parent);
    HWND handle() const { return hwnd_; }

    // What the edit control's messages ask for.
    const TextStore& text() const { return model_.text(); }
    const EditModel& model() const { return model_; }
    long length() const { return long(text().size()); }
    std::size_t copyText(wchar_t* out, std::size_t capacity) const;
    void setText(std::wstring_view text);
    // The text and what depends on it, without the scroll bars and the picture.
    void takeText(std::wstring_view text);
    void select(long start, long end);
    LRESULT selection(WPARAM startOut, LPARAM endOut) const;
    // EM_REPLACESEL; what cannot be undone leaves nothing to undo.
    void replaceSelection(std::wstring_view text, bool undoable);
    bool canUndo() const { return model_.canUndo(); }
    void undo();
    void forgetUndo() { model_.forgetUndo(); }
    void setLimit(long limit) { model_.setLimit(std::size_t(limit)); }
    long limit() const { return long(model_.limit()); }
    void scrollCaret();
    void applyFont();
    // WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR and select all, as the keys and the context menu do them.
    void cut();
    void copy();
    void paste();
    void erase();
    void selectAll();
    // EM_GETHANDLE's text locked in place (LocalLock): null when there is no memory for it. It
    // stays until the text is replaced, so a search pressed again copies nothing.
    const wchar_t* lockText();
    void unlockText();
    bool locked() const { return locks_ > 0; }
    std::size_t caret() const { return model_.caret(); }

    int firstVisibleLine() const;
    int visibleLineCount() const;

    // The control's own handling of a key press, after the window procedure has seen it.
    void widgetKey(QKeyEvent* event);

    // Where a position's character starts in the viewport (the test seam clicks there).
    QPoint pointOf(std::size_t position) const;
    int lineHeight() const;
    // The right-click menu, made afresh for the current selection and clipboard.
    QMenu* contextMenu();
    void showContextMenu(QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // Tab is a character here, not a move to the next widget.
    bool focusNextPrevChild(bool) override { return false; }

private:
    // Geometry, in viewport pixels.
    std::size_t lineAt(int y) const;
    std::size_t positionAt(QPoint point) const;
    QRect caretRect() const;
    std::size_t snapped(std::size_t position) const;
    void updateScrollBars();
    void showCaret();

    // Painting.
    void paintLine(QPainter& painter, std::size_t line, int y) const;
    void paintPreedit(QPainter& painter) const;
    bool selectionShown() const;

    // Input.
    bool moveKey(QKeyEvent* event);
    bool editKey(QKeyEvent* event);
    bool commandKey(QKeyEvent* event);
    void moveVertically(long lines, bool extend);
    void typed(std::wstring_view text, EditModel::Fit fit);
    void insert(std::wstring_view text, EditModel::Fit fit);
    bool refusedReadOnly();
    // The lines the selection touched before an edit: with those and the selection after it,
    // finishEdit repaints only the lines the edit changed.
    struct Touched {
        std::size_t lines; // how many the text had
        std::size_t first; // the selection's first line
        std::size_t last;  // its last
    };
    Touched touched() const;
    void finishEdit(const Touched& before);
    void updateEdited(const Touched& before);
    void finishMove(bool keepGoal = false);
    void restartBlink();
    // The mouse, after the window procedure has seen it as WM_LBUTTONDOWN and the rest.
    void press(QMouseEvent* event);
    void drag(QMouseEvent* event);
    void doubleClick(QMouseEvent* event);

    HWND hwnd_;
    EditModel model_;
    FlatText flat_;
    int locks_ = 0;
    mutable TextWidths widths_; // a cache of measurements, also filled while painting
    qreal goalX_ = -1;          // where Up and Down aim, kept across lines shorter than it
    int wheelRest_ = 0;         // wheel turns too small for a line so far
    bool caretOn_ = false;
    QBasicTimer blink_;
    QString preedit_;
    TextEvents told_; // what a screen reader was told
};

// The view behind a multi-line edit control's handle; null for any other window.
TextView* textViewOf(HWND hwnd);

// The line and position messages and EM_GETHANDLE; false for any other message.
bool lineMessage(TextView* edit, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                 LRESULT& result);

} // namespace platform
