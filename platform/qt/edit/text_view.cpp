// The multi-line edit control's view: the messages' side, geometry, scrolling and painting.
#include "platform/qt/accessibility/install_p.h"
#include "platform/qt/controls/kept_scroll_bar_p.h"
#include "platform/qt/edit/text_view_p.h"
#include "platform/qt/windows/window_p.h"
#include "platform/text/edit_selection.h"
#include "platform/text/huge_pages.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr int margin = 2; // between the control's left edge and the text
constexpr int caretWidth = 1;
constexpr std::size_t sampleLimit = 4096; // the most text an input method is shown around the caret
// Far enough for any screen, and leaving room to add a width to it within an int: a line of a
// billion characters, or a line a billion lines away, is placed at this distance.
constexpr qreal pixelLimit = 1 << 29;

int pixels(qreal value)
{
    return int(std::lround(std::clamp(value, -pixelLimit, pixelLimit)));
}

// Without kerning and ligatures each character is drawn exactly where its advance puts it, so the
// caret, the selection and a click agree with the painted text.
QFont drawingFont(HWND hwnd)
{
    QFont font = controlFont(hwnd);
    font.setKerning(false);
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    return font;
}

} // namespace

// A control gets message after message (a save asks for every line), so the last answer is kept:
// a window's widget never changes, and a destroyed window or widget is seen before it is used.
TextView* textViewOf(HWND hwnd)
{
    static HWND lastWindow = nullptr;
    static TextView* lastView = nullptr;
    if (!live(hwnd) || !hwnd->widget)
        return nullptr;
    if (hwnd != lastWindow) {
        lastView = dynamic_cast<TextView*>(hwnd->widget.data());
        lastWindow = hwnd;
    }
    return lastView;
}

TextView::TextView(HWND hwnd, QWidget* parent)
    : QAbstractScrollArea(parent), hwnd_(hwnd), widths_(drawingFont(hwnd))
{
    const DWORD style = hwnd->style;
    keepScrollBars(this);
    setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                    : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
    setFrameShape((style & WS_BORDER) ? QFrame::Box : QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { notifyParent(hwnd_, EN_VSCROLL); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { notifyParent(hwnd_, EN_HSCROLL); });
    setFont(drawingFont(hwnd));
    // The scroll bars are sized at the first resize, which comes before the control is shown:
    // sizing them now would load the stock font's face, which WM_SETFONT replaces straight away.
    takeText(hwnd->text);
    installAccessibility();
}

// A caller's buffer for a whole large text is fresh memory as a rule: huge pages make filling it
// take a few hundred page faults instead of a hundred thousand, which were most of a save's time.
std::size_t TextView::copyText(wchar_t* out, std::size_t capacity) const
{
    adviseHugePages(out, std::min(capacity, text().size()) * sizeof(wchar_t));
    return text().copy(0, capacity, out);
}

void TextView::setText(std::wstring_view text)
{
    takeText(text);
    told_.edited(this);
    told_.moved(this);
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void TextView::takeText(std::wstring_view text)
{
    model_.setText(text);
    // Another document: its copy for EM_GETHANDLE is made afresh when asked for.
    if (!locked())
        flat_.release();
    model_.takeChanged(); // a multi-line edit reports no change for WM_SETTEXT
    widths_.forget();
    goalX_ = -1;
}

// Windows keeps the caret off the middle of a CR LF pair: such a position means the line's end.
std::size_t TextView::snapped(std::size_t position) const
{
    const TextStore& store = text();
    if (position > 0 && position < store.size() && store.at(position - 1) == L'\r' &&
        store.at(position) == L'\n')
        return position - 1;
    return position;
}

void TextView::select(long start, long end)
{
    bool deselect;
    clampSelection(length(), start, end, deselect);
    // Windows: EM_SETSEL does not scroll; EM_SCROLLCARET does.
    if (deselect)
        model_.moveCaret(model_.caret(), false);
    else
        model_.select(snapped(std::size_t(start)), snapped(std::size_t(end)));
    goalX_ = -1;
    viewport()->update();
    told_.moved(this);
}

LRESULT TextView::selection(WPARAM startOut, LPARAM endOut) const
{
    return packedSelection(long(model_.selectionStart()), long(model_.selectionEnd()), startOut,
                           endOut);
}

void TextView::replaceSelection(std::wstring_view text, bool undoable)
{
    insert(text, EditModel::Fit::unlimited);
    if (!undoable)
        model_.forgetUndo();
}

void TextView::scrollCaret()
{
    showCaret();
    viewport()->update();
}

void TextView::applyFont()
{
    const QFont font = drawingFont(hwnd_);
    setFont(font);
    widths_.setFont(font);
    updateScrollBars();
    viewport()->update();
}

int TextView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

int TextView::visibleLineCount() const
{
    return viewport()->height() / lineHeight();
}

int TextView::lineHeight() const
{
    return std::max(1, fontMetrics().height());
}

std::size_t TextView::lineAt(int y) const
{
    const long first = firstVisibleLine();
    const long row = y >= 0 ? y / lineHeight() : -((-y + lineHeight() - 1) / lineHeight());
    return std::size_t(std::clamp<long>(first + row, 0, long(text().lineCount()) - 1));
}

std::size_t TextView::positionAt(QPoint point) const
{
    const std::size_t line = lineAt(point.y());
    const qreal x = point.x() + horizontalScrollBar()->value() - margin;
    return text().lineStart(line) + widths_.columnAt(text(), line, x);
}

QPoint TextView::pointOf(std::size_t position) const
{
    const std::size_t line = text().lineOf(position);
    const std::size_t column = position - text().lineStart(line);
    const qreal x = widths_.xOf(text(), line, column);
    return {pixels(x + margin - horizontalScrollBar()->value()),
            pixels(qreal(long(line) - firstVisibleLine()) * lineHeight())};
}

QRect TextView::caretRect() const
{
    return {pointOf(model_.caret()), QSize(caretWidth, lineHeight())};
}

void TextView::updateScrollBars()
{
    const int lines = std::max(1, visibleLineCount());
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, int(std::max<long>(0, long(text().lineCount()) - lines)));
    vertical->setPageStep(lines);
    vertical->setSingleStep(1);
    // The longest line by its characters at their average width: measuring every line of a large
    // document would cost as much as reading it. The caret widens the range when it goes further.
    const qreal widest = qreal(text().longestLine()) * widths_.averageWidth();
    const int content = pixels(std::ceil(widest) + 2 * margin + caretWidth);
    QScrollBar* horizontal = horizontalScrollBar();
    const int room = viewport()->width();
    horizontal->setRange(0, std::max(horizontal->value(), std::max(0, content - room)));
    horizontal->setPageStep(std::max(1, room));
    horizontal->setSingleStep(std::max(1, int(widths_.averageWidth())));
}

// Scrolls the caret into view: by lines vertically, and horizontally by a third of the width at a
// time, so typing at the right edge does not scroll on every key.
void TextView::showCaret()
{
    const std::size_t line = text().lineOf(model_.caret());
    const long lines = std::max(1, visibleLineCount());
    QScrollBar* vertical = verticalScrollBar();
    long first = vertical->value();
    if (long(line) < first)
        first = long(line);
    else if (long(line) >= first + lines)
        first = long(line) - lines + 1;
    vertical->setValue(int(first));

    const int x = pixels(widths_.xOf(text(), line, model_.caret() - text().lineStart(line)));
    const int room = std::max(1, viewport()->width() - 2 * margin - caretWidth);
    QScrollBar* horizontal = horizontalScrollBar();
    int left = horizontal->value();
    if (x < left)
        left = std::max(0, x - room / 3);
    else if (x > left + room)
        left = x - room * 2 / 3;
    if (left > horizontal->maximum())
        horizontal->setMaximum(left);
    horizontal->setValue(left);
}

void TextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

// The painted text moves along (the scroll bars count lines vertically and pixels sideways), so
// only what comes into sight is painted: Enter on the last visible line paints one line.
void TextView::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy * lineHeight());
}

bool TextView::selectionShown() const
{
    return model_.hasSelection() && (hasFocus() || (hwnd_->style & ES_NOHIDESEL));
}

void TextView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const bool readOnly = hwnd_->style & ES_READONLY;
    painter.fillRect(event->rect(), palette().color(readOnly ? QPalette::Window : QPalette::Base));
    painter.setFont(font());
    // Only the rows the event asks for: an edit within a line repaints that line alone.
    const std::size_t top = std::size_t(firstVisibleLine());
    const std::size_t first = top + std::size_t(std::max(0, event->rect().top()) / lineHeight());
    const std::size_t rows = std::size_t(event->rect().bottom() / lineHeight() + 1);
    const std::size_t last = std::min(text().lineCount(), top + rows);
    for (std::size_t line = first; line < last; ++line)
        paintLine(painter, line, int(line - top) * lineHeight());
    paintPreedit(painter);
    if (hasFocus() && caretOn_)
        painter.fillRect(caretRect(), palette().color(QPalette::Text));
}

void TextView::paintLine(QPainter& painter, std::size_t line, int y) const
{
    const TextStore& store = text();
    const std::size_t start = store.lineStart(line);
    const std::size_t length = store.lineLength(line);
    const qreal left = horizontalScrollBar()->value() - margin; // text x at the viewport's edge
    const qreal right = left + viewport()->width();
    const int height = lineHeight();
    const bool enabled = isEnabled();
    const QColor highlight =
        palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Highlight);
    const QColor highlightedText =
        palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::HighlightedText);

    std::size_t selectedFrom = 0;
    std::size_t selectedTo = 0;
    if (selectionShown()) {
        selectedFrom = std::clamp(model_.selectionStart(), start, start + length) - start;
        selectedTo = std::clamp(model_.selectionEnd(), start, start + length) - start;
    }
    if (selectedFrom < selectedTo) {
        const qreal from = widths_.xOf(store, line, selectedFrom);
        const qreal to = widths_.xOf(store, line, selectedTo);
        painter.fillRect(QRectF(from - left, y, to - from, height), highlight);
    }

    std::size_t column = widths_.columnAt(store, line, left);
    column -= column > 0 ? 1 : 0; // the character cut by the left edge
    qreal x = widths_.xOf(store, line, column);
    const qreal baseline = y + fontMetrics().ascent();
    QString run;
    qreal runX = x;
    bool runSelected = false;
    auto flush = [&] {
        if (!run.isEmpty()) {
            painter.setPen(runSelected ? highlightedText : palette().color(QPalette::Text));
            painter.drawText(QPointF(runX - left, baseline), run);
            run.clear();
        }
    };
    wchar_t buffer[512];
    while (column < length && x < right) {
        const std::size_t count =
            store.copy(start + column, std::min<std::size_t>(512, length - column), buffer);
        for (std::size_t i = 0; i < count && x < right; ++i, ++column) {
            const wchar_t c = buffer[i];
            const bool selected = column >= selectedFrom && column < selectedTo;
            const qreal next = widths_.step(x, c);
            if (c == L'\t' || TextWidths::isControl(c) || selected != runSelected) {
                flush();
                runSelected = selected;
                runX = x;
            }
            if (TextWidths::isControl(c)) {
                painter.setPen(selected ? highlightedText : palette().color(QPalette::Text));
                painter.drawRect(QRectF(x - left + 1, y + 2, next - x - 3, height - 5));
                runX = next;
            } else if (c == L'\t') {
                runX = next;
            } else if (char32_t(c) < 0x10000) {
                run += QChar(char16_t(c));
            } else {
                const char32_t point = char32_t(c);
                run += QString::fromUcs4(&point, 1);
            }
            x = next;
        }
    }
    flush();
}

// Text an input method is composing, drawn over the text at the caret until it is committed.
void TextView::paintPreedit(QPainter& painter) const
{
    if (preedit_.isEmpty())
        return;
    const QRect caret = caretRect();
    const QRectF box(caret.left(), caret.top(), fontMetrics().horizontalAdvance(preedit_),
                     lineHeight());
    painter.fillRect(box, palette().color(QPalette::Base));
    QFont underlined = font();
    underlined.setUnderline(true);
    painter.setFont(underlined);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QPointF(box.left(), box.top() + fontMetrics().ascent()), preedit_);
    painter.setFont(font());
}

void TextView::restartBlink()
{
    caretOn_ = true;
    const int period = QApplication::cursorFlashTime() / 2;
    if (hasFocus() && period > 0)
        blink_.start(period, this);
    else
        blink_.stop();
}

void TextView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != blink_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    caretOn_ = !caretOn_;
    viewport()->update(caretRect());
}

void TextView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
    viewport()->update();
    focusGained(hwnd_);
}

void TextView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    caretOn_ = false;
    viewport()->update();
}

QVariant TextView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const TextStore& store = text();
    const std::size_t line = store.lineOf(model_.caret());
    const std::size_t start = store.lineStart(line);
    switch (query) {
    case Qt::ImEnabled:
        return !(hwnd_->style & ES_READONLY);
    case Qt::ImCursorRectangle:
        return caretRect().translated(viewport()->pos());
    case Qt::ImFont:
        return font();
    case Qt::ImHints:
        return int(Qt::ImhMultiLine);
    case Qt::ImCursorPosition:
        return int(std::min(model_.caret() - start, sampleLimit));
    case Qt::ImAnchorPosition:
        return int(std::clamp(model_.anchor(), start, start + sampleLimit) - start);
    case Qt::ImSurroundingText: {
        const std::wstring sample =
            store.text(start, std::min(store.lineLength(line), sampleLimit));
        return QString::fromWCharArray(sample.data(), qsizetype(sample.size()));
    }
    case Qt::ImCurrentSelection: {
        const std::size_t count = model_.selectionEnd() - model_.selectionStart();
        const std::wstring selected =
            store.text(model_.selectionStart(), std::min(count, sampleLimit));
        return QString::fromWCharArray(selected.data(), qsizetype(selected.size()));
    }
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

} // namespace platform
