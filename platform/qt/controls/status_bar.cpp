// The common controls' status bar ("msctls_statusbar32"): a row of parts along the bottom of its
// parent, each with its own text, drawn sunken or without borders. As on Windows it places
// itself, at the parent's full width and the height its font needs, whatever position and size it
// was created with, and again on every WM_SIZE its parent forwards to it.
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace platform {

namespace {

constexpr int maxParts = 256;
constexpr int partGap = 2;     // between two parts
constexpr int textPadding = 4; // between a part's border and its text

struct Part {
    int right; // in the bar's client coordinates; -1 reaches the right edge
    std::wstring text;
    WORD type; // 0 (sunken) or SBT_NOBORDERS
};

// The font status bars draw with unless given another: the system's status font, a 9-point face.
QFont statusFont(HWND hwnd)
{
    if (hwnd->font)
        return controlFont(hwnd);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    return font;
}

class StatusBarWidget : public QWidget {
public:
    StatusBarWidget(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd)
    {
        parts_.push_back({-1, hwnd->text, 0});
        setFont(statusFont(hwnd));
    }

    int barHeight() const { return fontMetrics().height() + 2 * (partGap + textPadding); }

    bool setParts(int count, const int* rights)
    {
        if (count < 1 || count > maxParts || !rights)
            return false;
        parts_.resize(std::size_t(count), {-1, L"", 0});
        for (int i = 0; i < count; ++i)
            parts_[std::size_t(i)].right = rights[i];
        update();
        return true;
    }

    int parts(int count, int* rights) const
    {
        for (int i = 0; rights && i < count && i < int(parts_.size()); ++i)
            rights[i] = parts_[std::size_t(i)].right;
        return int(parts_.size());
    }

    Part* part(WPARAM index) { return index < parts_.size() ? &parts_[index] : nullptr; }

    void setPartText(Part& part, const wchar_t* text, WORD type)
    {
        part.text = text ? text : L"";
        part.type = type;
        if (&part == &parts_.front())
            hwnd_->text = part.text; // WM_GETTEXT reads the first part
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), brushColour(reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1)));
        painter.setPen(QColor(0, 0, 0));
        int left = 0;
        for (const Part& part : parts_) {
            const int right = part.right < 0 ? width() : std::min(part.right, width());
            const QRect box(left, partGap, std::max(0, right - left), height() - partGap);
            if (!(part.type & SBT_NOBORDERS) && box.width() > 0)
                qDrawShadePanel(&painter, box, palette(), true, 1);
            drawText(painter, box.adjusted(textPadding, 0, -textPadding, 0), part.text);
            left = right + partGap;
        }
    }

private:
    // Windows: text after one tab is centred, after a second tab right-aligned.
    static void drawText(QPainter& painter, const QRect& box, const std::wstring& text)
    {
        const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        std::size_t from = 0;
        for (const Qt::Alignment align : aligns) {
            const std::size_t tab = text.find(L'\t', from);
            const std::wstring piece = text.substr(from, tab == text.npos ? tab : tab - from);
            painter.drawText(box, int(align | Qt::AlignVCenter | Qt::TextSingleLine),
                             toQString(piece));
            if (tab == text.npos)
                return;
            from = tab + 1;
        }
    }

    HWND hwnd_;
    std::vector<Part> parts_;
};

StatusBarWidget* barOf(HWND hwnd)
{
    return live(hwnd) ? dynamic_cast<StatusBarWidget*>(hwnd->widget.data()) : nullptr;
}

// Along the bottom of the parent's client area, at its full width.
void placeBar(HWND hwnd)
{
    StatusBarWidget* bar = barOf(hwnd);
    RECT client;
    if (!bar || !GetClientRect(hwnd->parent, &client))
        return;
    const int height = bar->barHeight();
    const RECT place = {0, client.bottom - height, client.right, client.bottom};
    hwnd->rect = place;
    bar->setGeometry(0, int(place.top), int(place.right), height);
}

LRESULT textOfPart(StatusBarWidget* bar, WPARAM index, wchar_t* buffer)
{
    const Part* part = bar->part(index);
    if (!part)
        return 0;
    if (buffer)
        buffer[part->text.copy(buffer, part->text.size())] = L'\0';
    return MAKELONG(WORD(part->text.size()), part->type);
}

} // namespace

QWidget* createStatusBarWidget(HWND hwnd, QWidget* parent)
{
    if (hwnd->style & 0xFFFF)
        qFatal("Status bar: style 0x%x is not implemented", unsigned(hwnd->style & 0xFFFF));
    auto* bar = new StatusBarWidget(hwnd, parent);
    hwnd->widget = bar;
    return bar;
}

LRESULT CALLBACK statusBarClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    StatusBarWidget* bar = barOf(hwnd);
    if (!bar)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
        placeBar(hwnd);
        return 0;
    case SB_SETPARTS:
        return bar->setParts(int(wParam), reinterpret_cast<const int*>(lParam)) ? TRUE : FALSE;
    case SB_GETPARTS:
        return bar->parts(int(wParam), reinterpret_cast<int*>(lParam));
    case SB_SETTEXTW: {
        // Layer: there is no simple mode, so SB_SIMPLEID (0xFF) names no part either.
        Part* part = bar->part(wParam & 0xFF);
        if (!part)
            return FALSE;
        bar->setPartText(*part, reinterpret_cast<const wchar_t*>(lParam), WORD(wParam & 0xFF00));
        return TRUE;
    }
    case SB_GETTEXTLENGTHW:
        return textOfPart(bar, wParam, nullptr);
    case SB_GETTEXTW:
        return textOfPart(bar, wParam, reinterpret_cast<wchar_t*>(lParam));
    case WM_SETTEXT:
        bar->setPartText(*bar->part(0), reinterpret_cast<const wchar_t*>(lParam), 0);
        return TRUE;
    case WM_SETFONT: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        bar->setFont(statusFont(hwnd));
        placeBar(hwnd);
        return result;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace platform

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls)
{
    // The status bar is always registered; nothing else of the common controls is offered.
    return controls && controls->dwSize == sizeof(INITCOMMONCONTROLSEX) &&
                   !(controls->dwICC & ~ICC_BAR_CLASSES)
               ? TRUE
               : FALSE;
}
