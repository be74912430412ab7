// The "edit" class: the multi-line control on our own text view and the single-line box on
// QLineEdit, with Windows' text, positions, limits and notifications.
#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"
#include "platform/text/edit_selection.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace platform {

namespace {

constexpr long liftedLimit = 0x7FFFFFFE;

long limitFrom(WPARAM wParam)
{
    return wParam == 0 ? liftedLimit : long(std::min<WPARAM>(wParam, liftedLimit));
}

void notifyChange(HWND hwnd)
{
    notifyParent(hwnd, EN_UPDATE);
    notifyParent(hwnd, EN_CHANGE);
}

// Without ES_AUTOHSCROLL a box takes only the text that fits its width, as on Windows.
class FitValidator : public QValidator {
public:
    FitValidator(HWND hwnd, QLineEdit* box) : QValidator(box), hwnd_(hwnd), box_(box) {}

    State validate(QString& input, int&) const override
    {
        const bool tooLong = long(input.toStdU32String().size()) > limit;
        const bool tooWide = !(hwnd_->style & ES_AUTOHSCROLL) &&
                             box_->fontMetrics().horizontalAdvance(input) > room();
        if (tooLong || tooWide) {
            notifyParent(hwnd_, EN_MAXTEXT);
            return Invalid;
        }
        return Acceptable;
    }

    long limit = long(EditModel::defaultLimit);

private:
    int room() const
    {
        const QMargins margins = box_->textMargins();
        return box_->contentsRect().width() - margins.left() - margins.right() - 5;
    }

    HWND hwnd_;
    QLineEdit* box_;
};

class SingleLineEdit : public QLineEdit {
public:
    SingleLineEdit(HWND hwnd, QWidget* parent)
        : QLineEdit(parent), hwnd_(hwnd), fit_(new FitValidator(hwnd, this))
    {
        setFrame(hwnd->style & WS_BORDER);
        setReadOnly(hwnd->style & ES_READONLY);
        setFont(controlFont(hwnd));
        setEchoMode((hwnd->style & ES_PASSWORD) ? Password : Normal);
        setValidator(fit_);
        connect(this, &QLineEdit::textEdited, this, [this] { notifyChange(hwnd_); });
        setText(hwnd->text, false);
    }

    std::wstring text() const { return toWString(QLineEdit::text()); }
    long length() const { return long(text().size()); }

    size_t copyText(wchar_t* out, size_t capacity) const { return text().copy(out, capacity); }

    void setText(const std::wstring& text, bool notify)
    {
        setValidator(nullptr);
        QLineEdit::setText(toQString(text));
        setValidator(fit_);
        // Windows: a single-line box reports text set by the program as a change.
        if (notify)
            notifyChange(hwnd_);
    }

    void select(long start, long end)
    {
        bool deselect;
        clampSelection(length(), start, end, deselect);
        if (deselect) {
            deselect_();
            return;
        }
        const int from = units(start);
        const int to = units(end);
        setSelection(from, to - from);
    }

    LRESULT selection(WPARAM startOut, LPARAM endOut) const
    {
        const int from = hasSelectedText() ? selectionStart() : cursorPosition();
        const int to = hasSelectedText() ? selectionEnd() : cursorPosition();
        return packedSelection(points(from), points(to), startOut, endOut);
    }

    void setLimit(long limit) { fit_->limit = limit; }
    long limit() const { return fit_->limit; }

    void widgetKey(QKeyEvent* event)
    {
        // Windows: a single-line box refuses Tab, Enter and Esc characters with a beep.
        const int key = event->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
            (key == Qt::Key_Tab && event->modifiers() == Qt::NoModifier)) {
            MessageBeep(MB_OK);
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        deliverKey(hwnd_, event, [this](QKeyEvent* key) { widgetKey(key); });
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        focusGained(hwnd_);
    }

private:
    void deselect_() { QLineEdit::deselect(); }

    int units(long points) const
    {
        return int(
            QString::fromStdU32String(QLineEdit::text().toStdU32String().substr(0, size_t(points)))
                .size());
    }

    long points(int units) const
    {
        return long(QLineEdit::text().left(units).toStdU32String().size());
    }

    HWND hwnd_;
    FitValidator* fit_;
};

template <typename Control>
LRESULT controlMessage(Control* control, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                       bool& handled)
{
    handled = true;
    switch (message) {
    case WM_GETTEXTLENGTH:
        return control->length();
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        if (!buffer || wParam == 0)
            return 0;
        const size_t count = control->copyText(buffer, size_t(wParam) - 1);
        buffer[count] = L'\0';
        return LRESULT(count);
    }
    case EM_SETSEL:
        control->select(long(LONG(wParam)), long(lParam));
        return 0;
    case EM_GETSEL:
        return control->selection(wParam, lParam);
    case EM_SETLIMITTEXT:
        control->setLimit(limitFrom(wParam));
        return 0;
    case EM_GETLIMITTEXT:
        return control->limit();
    case WM_SETFOCUS:
        notifyParent(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        notifyParent(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_KEYDOWN:
        runDefaultKey(hwnd, wParam, lParam);
        return 0;
    case WM_GETDLGCODE: {
        // Windows: a multi-line edit keeps Tab, Enter and Esc too.
        const LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        return (hwnd->style & ES_MULTILINE) ? code | DLGC_WANTALLKEYS : code;
    }
    default:
        handled = false;
        return 0;
    }
}

LRESULT multiLineMessage(TextView* edit, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result; lineMessage(edit, hwnd, message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_SETTEXT:
        // Windows: a multi-line edit sends no EN_UPDATE or EN_CHANGE for WM_SETTEXT.
        edit->setText(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
        return TRUE;
    case EM_REPLACESEL:
        edit->replaceSelection(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"", wParam);
        return 0;
    case EM_CANUNDO:
        return edit->canUndo();
    case EM_UNDO:
    case WM_UNDO: {
        const bool undoable = edit->canUndo();
        edit->undo();
        return undoable ? TRUE : FALSE;
    }
    case WM_CUT:
        edit->cut();
        return 0;
    case WM_COPY:
        edit->copy();
        return 0;
    case WM_PASTE:
        edit->paste();
        return 0;
    case WM_CLEAR:
        edit->erase();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        runPendingInput(hwnd, message);
        return 0;
    case WM_IME_CHAR:
        if (!runPendingInput(hwnd, message))
            edit->replaceSelection(std::wstring(1, wchar_t(wParam)), true);
        return 0;
    case WM_CONTEXTMENU:
        if (!runPendingInput(hwnd, message))
            edit->showContextMenu(QPoint(short(LOWORD(lParam)), short(HIWORD(lParam))));
        return 0;
    case EM_EMPTYUNDOBUFFER:
        edit->forgetUndo();
        return 0;
    case EM_SCROLLCARET:
        edit->scrollCaret();
        return TRUE;
    case WM_SETFONT:
        hwnd->font = reinterpret_cast<HFONT>(wParam);
        edit->applyFont();
        return 0;
    default:
        break;
    }
    bool handled;
    const LRESULT result = controlMessage(edit, hwnd, message, wParam, lParam, handled);
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT singleLineMessage(SingleLineEdit* box, HWND hwnd, UINT message, WPARAM wParam,
                          LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT:
        box->setText(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"", true);
        return TRUE;
    case EM_REPLACESEL:
        box->insert(toQString(reinterpret_cast<const wchar_t*>(lParam)));
        return 0;
    case EM_SCROLLCARET:
        return TRUE;
    case WM_SETFONT:
        hwnd->font = reinterpret_cast<HFONT>(wParam);
        box->setFont(controlFont(hwnd));
        return 0;
    default:
        break;
    }
    bool handled;
    const LRESULT result = controlMessage(box, hwnd, message, wParam, lParam, handled);
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

QWidget* createEditWidget(HWND hwnd, QWidget* parent)
{
    if (hwnd->style & ES_MULTILINE)
        return new TextView(hwnd, parent);
    return new SingleLineEdit(hwnd, parent);
}

LRESULT CALLBACK editClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!live(hwnd) || !hwnd->widget)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (TextView* edit = textViewOf(hwnd)) {
        // Windows: a control without memory for more text keeps the text it had and tells its
        // parent, never the program's stack.
        try {
            return multiLineMessage(edit, hwnd, message, wParam, lParam);
        } catch (const std::bad_alloc&) {
            notifyParent(hwnd, EN_ERRSPACE);
            return 0;
        }
    }
    if (auto* box = dynamic_cast<SingleLineEdit*>(hwnd->widget.data()))
        return singleLineMessage(box, hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace platform
