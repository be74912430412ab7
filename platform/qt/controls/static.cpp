// The "Static" class: text labels drawn as Windows draws them (word-wrapped or one centred line,
// '&' marking an underlined letter) on the background that the parent chooses.
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QLabel>
#include <QPainter>

namespace platform {

namespace {

constexpr DWORD typeMask =
    0x001F; // SS_LEFT and SS_CENTER; SS_RIGHT, icons, frames ... are not drawn
constexpr DWORD supportedFlags = SS_NOPREFIX | SS_CENTERIMAGE;
const QColor frameColour(0, 0, 0);          // COLOR_WINDOWFRAME
const QColor textColour(0, 0, 0);           // COLOR_WINDOWTEXT
const QColor grayTextColour(109, 109, 109); // COLOR_GRAYTEXT

int textFlags(DWORD style)
{
    int flags = Qt::TextExpandTabs;
    flags |= (style & typeMask) == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
    // Windows: SS_CENTERIMAGE draws one line centred vertically; otherwise words wrap from the top.
    flags |= (style & SS_CENTERIMAGE) ? Qt::AlignVCenter | Qt::TextSingleLine
                                      : Qt::AlignTop | Qt::TextWordWrap;
    // Windows: '&' underlines the next letter and "&&" draws one '&', unless SS_NOPREFIX.
    if (!(style & SS_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    return flags;
}

// The text as drawn: each '&' marks the next character (two make one '&'), unless SS_NOPREFIX.
QString shownText(const std::wstring& text, DWORD style)
{
    QString shown = toQString(text);
    if (style & SS_NOPREFIX)
        return shown;
    QString plain;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i] == u'&' && ++i == shown.size())
            break;
        plain += shown[i];
    }
    return plain;
}

// A QLabel holds the text as shown, for accessibility and size hints; the drawing is Windows' own.
class StaticWidget : public QLabel {
public:
    StaticWidget(HWND hwnd, QWidget* parent) : QLabel(parent), hwnd_(hwnd) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        HWND__* record = live(hwnd_);
        if (!record)
            return;
        const QColor background = controlBackground(hwnd_, WM_CTLCOLORSTATIC);
        QPainter painter(this);
        QRect area = rect();
        if (record->style & WS_BORDER) {
            painter.setPen(frameColour);
            painter.drawRect(area.adjusted(0, 0, -1, -1));
            area.adjust(1, 1, -1, -1);
        }
        painter.fillRect(area, background);
        painter.setFont(font());
        painter.setPen(isEnabled() ? textColour : grayTextColour);
        painter.drawText(area, textFlags(record->style), toQString(record->text));
    }

private:
    HWND hwnd_;
};

// Shows the record's text and font.
void showRecord(HWND hwnd)
{
    if (auto* label = live(hwnd) ? qobject_cast<QLabel*>(hwnd->widget.data()) : nullptr) {
        label->setText(shownText(hwnd->text, hwnd->style));
        label->setFont(controlFont(hwnd));
        label->update();
    }
}

} // namespace

QColor controlBackground(HWND control, UINT message)
{
    // Layer: the parent gets no device context, since the subset offers nothing to do with it.
    const LRESULT brush =
        SendMessageW(control->parent, message, 0, reinterpret_cast<LPARAM>(control));
    return brushColour(reinterpret_cast<HBRUSH>(brush ? brush : COLOR_3DFACE + 1));
}

QWidget* createStaticWidget(HWND hwnd, QWidget* parent)
{
    if ((hwnd->style & typeMask) > SS_CENTER ||
        (hwnd->style & 0xFFFF & ~typeMask & ~supportedFlags))
        qFatal("Static: style 0x%x is not implemented", unsigned(hwnd->style & 0xFFFF));
    auto* label = new StaticWidget(hwnd, parent);
    label->setTextFormat(Qt::PlainText); // a file name is no markup
    hwnd->widget = label;
    showRecord(hwnd);
    return label;
}

LRESULT CALLBACK staticClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_SETTEXT:
    case WM_SETFONT: {
        // Redrawn at once even without WM_SETFONT's redraw flag: that flag only says when.
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        showRecord(hwnd);
        return result;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace platform
