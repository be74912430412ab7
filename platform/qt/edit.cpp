// The "edit" class: the multi-line control on QPlainTextEdit and the single-line box on QLineEdit,
// with Windows' text, positions, limits and notifications.
#include "platform/qt/line_breaks_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/window_p.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QValidator>

namespace platform {

namespace {

constexpr long defaultLimit = 32767;
constexpr long liftedLimit = 0x7FFFFFFE;

long limitFrom(WPARAM wParam)
{
    return wParam == 0 ? liftedLimit : long(std::min<WPARAM>(wParam, liftedLimit));
}

// Clamps an EM_SETSEL pair the way Windows does: (0, -1) selects all, a negative start only
// removes the selection, anything past the end means the end.
void clampSelection(long length, long& start, long& end, bool& deselect)
{
    deselect = start < 0;
    if (end < 0 || end > length)
        end = length;
    start = std::clamp(start, 0L, length);
}

LRESULT packedSelection(long start, long end, WPARAM startOut, LPARAM endOut)
{
    if (auto* p = reinterpret_cast<DWORD*>(startOut))
        *p = DWORD(start);
    if (auto* p = reinterpret_cast<DWORD*>(endOut))
        *p = DWORD(end);
    if (start > 0xFFFF || end > 0xFFFF)
        return -1;
    return MAKELONG(WORD(start), WORD(end));
}

void notifyChange(HWND hwnd)
{
    notifyParent(hwnd, EN_UPDATE);
    notifyParent(hwnd, EN_CHANGE);
}

class MultiLineEdit : public QPlainTextEdit {
public:
    MultiLineEdit(HWND hwnd, QWidget* parent) : QPlainTextEdit(parent), hwnd_(hwnd)
    {
        const DWORD style = hwnd->style;
        setLineWrapMode((style & (WS_HSCROLL | ES_AUTOHSCROLL)) ? NoWrap : WidgetWidth);
        setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                       : Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn
                                                         : Qt::ScrollBarAlwaysOff);
        setFrameShape((style & WS_BORDER) ? QFrame::Box : QFrame::NoFrame);
        setReadOnly(style & ES_READONLY);
        setSelectionShown(style & ES_NOHIDESEL);
        setFont(controlFont(hwnd));
        connect(document(), &QTextDocument::contentsChange, this, &MultiLineEdit::changed);
        connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
                [this] { notifyParent(hwnd_, EN_VSCROLL); });
        connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
                [this] { notifyParent(hwnd_, EN_HSCROLL); });
        setText(hwnd->text);
    }

    std::wstring text() const
    {
        return lineBreaks::windowsText(document()->toRawText().toStdU16String());
    }

    // Copies the text straight from the document into a WM_GETTEXT buffer.
    size_t copyText(wchar_t* out, size_t capacity) const
    {
        const QString view = document()->toRawText();
        return lineBreaks::copyWindowsText(
            std::u16string_view(reinterpret_cast<const char16_t*>(view.utf16()),
                                size_t(view.size())),
            out, capacity);
    }

    long length() const
    {
        if (astral_)
            return long(text().size());
        const QTextDocument* doc = document();
        return long(doc->characterCount() - 1 + doc->blockCount() - 1);
    }

    void setText(const std::wstring& text)
    {
        // The converted copy goes before the document makes its own, so three copies of a
        // large text never live at once.
        QString view = QString::fromStdU16String(lineBreaks::viewText(text));
        astral_ = hasSurrogates(reinterpret_cast<const char16_t*>(view.utf16()),
                                size_t(view.size()));
        programmatic_ = true;
        setPlainText(view);
        programmatic_ = false;
    }

    long toWindows(int position) const
    {
        if (astral_)
            return lineBreaks::windowsOffset(raw(), position);
        return position + document()->findBlock(position).blockNumber();
    }

    int toView(long offset) const
    {
        if (astral_)
            return int(lineBreaks::viewPosition(raw(), offset));
        // Block k starts at Windows offset position(k) + k: find the last block starting at or
        // before the offset, then step into it, stopping at its end (between CR and LF).
        const QTextDocument* doc = document();
        int low = 0;
        int high = doc->blockCount() - 1;
        while (low < high) {
            const int middle = (low + high + 1) / 2;
            if (doc->findBlockByNumber(middle).position() + middle <= offset)
                low = middle;
            else
                high = middle - 1;
        }
        const QTextBlock block = doc->findBlockByNumber(low);
        const long column = std::min<long>(offset - block.position() - low, block.length() - 1);
        return int(block.position() + std::max(0L, column));
    }

    void select(long start, long end)
    {
        bool deselect;
        clampSelection(length(), start, end, deselect);
        QTextCursor cursor = textCursor();
        if (deselect) {
            cursor.clearSelection();
        } else {
            cursor.setPosition(toView(start));
            cursor.setPosition(toView(end), QTextCursor::KeepAnchor);
        }
        // Windows: EM_SETSEL does not scroll; EM_SCROLLCARET does.
        const int vertical = verticalScrollBar()->value();
        const int horizontal = horizontalScrollBar()->value();
        setTextCursor(cursor);
        verticalScrollBar()->setValue(vertical);
        horizontalScrollBar()->setValue(horizontal);
    }

    LRESULT selection(WPARAM startOut, LPARAM endOut) const
    {
        const QTextCursor cursor = textCursor();
        return packedSelection(toWindows(cursor.selectionStart()), toWindows(cursor.selectionEnd()),
                               startOut, endOut);
    }

    void replaceSelection(const std::wstring& text)
    {
        const std::u16string view = lineBreaks::viewText(text);
        astral_ = astral_ || hasSurrogates(view.data(), view.size());
        textCursor().insertText(QString::fromStdU16String(view));
    }

    void setLimit(long limit) { limit_ = limit; }
    long limit() const { return limit_; }

    void applyFont()
    {
        programmatic_ = true;
        setFont(controlFont(hwnd_));
        setTabStopDistance(fontMetrics().averageCharWidth() * 8);
        programmatic_ = false;
    }

    void widgetKey(QKeyEvent* event)
    {
        // Windows: Esc in a multi-line edit asks its parent to close.
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            PostMessageW(hwnd_->parent, WM_CLOSE, 0, 0);
            return;
        }
        const long adding = addedLength(event);
        if (adding > 0 && length() - selectedLength() + adding > limit_) {
            notifyParent(hwnd_, EN_MAXTEXT);
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        deliverKey(hwnd_, event, [this](QKeyEvent* key) { widgetKey(key); });
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QPlainTextEdit::focusInEvent(event);
        focusGained(hwnd_);
    }

    void wheelEvent(QWheelEvent* event) override
    {
        notifyParent(hwnd_, EN_VSCROLL);
        QPlainTextEdit::wheelEvent(event);
    }

    void insertFromMimeData(const QMimeData* source) override
    {
        if (!source->hasText())
            return;
        std::u16string text = lineBreaks::normalizedInput(source->text().toStdU16String());
        const long room = limit_ - (length() - selectedLength());
        const long needed = long(lineBreaks::windowsText(text).size());
        if (needed > room) {
            notifyParent(hwnd_, EN_MAXTEXT);
            text.resize(size_t(lineBreaks::viewPosition(text, std::max(0L, room))));
        }
        astral_ = astral_ || hasSurrogates(text.data(), text.size());
        textCursor().insertText(QString::fromStdU16String(text));
    }

    QMimeData* createMimeDataFromSelection() const override
    {
        // The raw selection keeps every character (Qt's plain text turns U+00A0 into a space).
        std::wstring text = lineBreaks::windowsText(textCursor().selectedText().toStdU16String());
        auto* mime = new QMimeData;
        mime->setText(toQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        return mime;
    }

private:
    static bool hasSurrogates(const char16_t* units, size_t count)
    {
        for (size_t i = 0; i < count; ++i) {
            if (units[i] >= 0xD800 && units[i] <= 0xDFFF)
                return true;
        }
        return false;
    }

    std::u16string raw() const { return document()->toRawText().toStdU16String(); }

    long selectedLength() const
    {
        const QTextCursor cursor = textCursor();
        return toWindows(cursor.selectionEnd()) - toWindows(cursor.selectionStart());
    }

    static long addedLength(const QKeyEvent* event)
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            return 2;
        const QString typed = event->text();
        if (typed.isEmpty() || (typed.size() == 1 && typed[0].unicode() < 0x20 && typed[0] != '\t'))
            return 0;
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return 0;
        return long(typed.toStdU32String().size());
    }

    void setSelectionShown(bool always)
    {
        QPalette colours = palette();
        if (always) {
            colours.setColor(QPalette::Inactive, QPalette::Highlight,
                             colours.color(QPalette::Active, QPalette::Highlight));
            colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                             colours.color(QPalette::Active, QPalette::HighlightedText));
        } else {
            colours.setColor(QPalette::Inactive, QPalette::Highlight,
                             colours.color(QPalette::Active, QPalette::Base));
            colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                             colours.color(QPalette::Active, QPalette::Text));
        }
        setPalette(colours);
    }

    void changed(int position, int removed, int added)
    {
        if (programmatic_ || (removed == 0 && added == 0))
            return;
        if (added > 0 && !astral_) {
            // Only the inserted range: a copy of the whole text would make each key press in a
            // large document cost as much as the document.
            QTextCursor range(document());
            range.setPosition(std::min(position, document()->characterCount() - 1));
            range.setPosition(std::min(position + added, document()->characterCount() - 1),
                              QTextCursor::KeepAnchor);
            const QString inserted = range.selectedText();
            astral_ = hasSurrogates(reinterpret_cast<const char16_t*>(inserted.utf16()),
                                    size_t(inserted.size()));
        }
        notifyChange(hwnd_);
    }

    HWND hwnd_;
    long limit_ = defaultLimit;
    bool programmatic_ = false;
    bool astral_ = false;
};

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

    long limit = defaultLimit;

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
        clampSelection(long(text().size()), start, end, deselect);
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
            QApplication::beep();
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
        return int(QString::fromStdU32String(QLineEdit::text().toStdU32String().substr(
                       0, size_t(points)))
                       .size());
    }

    long points(int units) const { return long(QLineEdit::text().left(units).toStdU32String().size()); }

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
        if constexpr (std::is_same_v<Control, MultiLineEdit>)
            return control->length();
        else
            return LRESULT(control->text().size());
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
    default:
        handled = false;
        return 0;
    }
}

LRESULT multiLineMessage(MultiLineEdit* edit, HWND hwnd, UINT message, WPARAM wParam,
                         LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT:
        // Windows: a multi-line edit sends no EN_UPDATE or EN_CHANGE for WM_SETTEXT.
        edit->setText(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
        return TRUE;
    case EM_REPLACESEL:
        edit->replaceSelection(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
        return 0;
    case EM_SCROLLCARET:
        edit->ensureCursorVisible();
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
        return new MultiLineEdit(hwnd, parent);
    return new SingleLineEdit(hwnd, parent);
}

LRESULT CALLBACK editClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!live(hwnd) || !hwnd->widget)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (auto* edit = dynamic_cast<MultiLineEdit*>(hwnd->widget.data()))
        return multiLineMessage(edit, hwnd, message, wParam, lParam);
    if (auto* box = dynamic_cast<SingleLineEdit*>(hwnd->widget.data()))
        return singleLineMessage(box, hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace platform
