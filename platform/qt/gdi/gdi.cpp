// Fonts, painting and icons. A font handle is a description that becomes a QFont when first
// drawn with, since the editor makes its font before the application object exists.
#include "platform/qt/gdi/gdi_p.h"
#include "platform/qt/handles_p.h"
#include "platform/qt/text_p.h"
#include "platform/qt/windows/window_p.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

#include <memory>
#include <optional>
#include <utility>

struct HFONT__ {
    int height;
    int weight;
    bool italic;
    bool underline;
    bool strikeOut;
    std::wstring face;
    std::optional<QFont> qt;
};

struct HICON__ {
    QString resource;
    std::optional<QIcon> qt; // read from the resource when first shown, then kept
};

struct HDC__ {
    QPainter* painter;
    HWND hwnd;
};

namespace platform {

namespace {

// A function-local static: the editor makes its font during static initialisation.
HandleRegistry<HFONT__>& fonts()
{
    static HandleRegistry<HFONT__> all;
    return all;
}

bool isFont(HFONT font)
{
    return fonts().contains(font);
}

// The metric-compatible free faces of the families Windows ships, as Windows itself substitutes
// one face for another: where Windows' own face is not installed its stand-in is named directly,
// which is the face fontconfig would find for the name too, without its search for a fallback,
// which took 3% of the start-up.
QString installedFamily(const QString& family)
{
    static const std::pair<QString, QString> standIns[] = {
        {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")},
    };
    for (const auto& [windows, standIn] : standIns) {
        if (family.compare(windows, Qt::CaseInsensitive) != 0)
            continue;
        const QStringList installed = QFontDatabase::families();
        if (!installed.contains(family, Qt::CaseInsensitive) && installed.contains(standIn))
            return standIn;
    }
    return family;
}

// What Windows calls a face name for the families it ships; fontconfig maps these names to
// metric-compatible faces, but asking for them directly keeps the choice independent of it.
QString familyFor(const std::wstring& face)
{
    if (face.empty())
        return QStringLiteral("Liberation Sans");
    return installedFamily(toQString(face.substr(0, LF_FACESIZE - 1)));
}

// A positive height is the cell height (ascent plus descent), a negative one the em height.
// Layer: heights are kept within what a screen can show; Qt draws nothing for larger ones.
void applyHeight(QFont& font, int height)
{
    constexpr qreal largest = 2000;
    if (height < 0) {
        font.setPixelSize(int(std::min(-qreal(height), largest)));
        return;
    }
    const qreal cell = height == 0 ? 16 : std::min(qreal(height), largest);
    font.setPixelSize(int(cell));
    const qreal measured = QFontMetricsF(font).height();
    if (measured > 0)
        font.setPixelSize(std::max(1, qRound(cell * cell / measured)));
}

QFont makeFont(const HFONT__& font)
{
    QFont qt(familyFor(font.face));
    qt.setStyleStrategy(QFont::PreferAntialias);
    applyHeight(qt, font.height);
    const int weight = font.weight <= 0 ? FW_NORMAL : std::min(font.weight, 1000);
    qt.setWeight(QFont::Weight(weight));
    qt.setItalic(font.italic);
    qt.setUnderline(font.underline);
    qt.setStrikeOut(font.strikeOut);
    return qt;
}

struct PaintContext {
    HWND hwnd;
    QPainter* painter;
    QRect area;
};

std::vector<PaintContext>& paints()
{
    static std::vector<PaintContext> stack;
    return stack;
}

QColor systemColour(LONG_PTR index)
{
    switch (index) {
    case COLOR_WINDOW:
        return Qt::white;
    case COLOR_WINDOWTEXT:
        return Qt::black;
    case COLOR_MENU:
    case COLOR_3DFACE:
        return QColor(240, 240, 240);
    default:
        return QColor(200, 200, 200);
    }
}

} // namespace

QFont qtFont(HFONT font)
{
    if (!isFont(font))
        return systemFont();
    if (!font->qt)
        font->qt = makeFont(*font);
    return *font->qt;
}

// The stock System font: a bold proportional face with a 16-pixel cell.
QFont systemFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

QFont controlFont(HWND hwnd)
{
    return live(hwnd) && hwnd->font ? qtFont(hwnd->font) : systemFont();
}

QColor brushColour(HBRUSH brush)
{
    const auto value = reinterpret_cast<LONG_PTR>(brush);
    return value > 0 && value <= 31 ? systemColour(value - 1) : QColor(240, 240, 240);
}

void paintClient(HWND hwnd, QWidget* widget, const QRect& area)
{
    QPainter painter(widget);
    paints().push_back({hwnd, &painter, area});
    SendMessageW(hwnd, WM_PAINT, 0, 0);
    paints().pop_back();
}

HFONT fontOfRecord(HFONT font, int& height, int& weight, bool& italic, std::wstring& face)
{
    if (!isFont(font))
        return nullptr;
    height = font->height;
    weight = font->weight;
    italic = font->italic;
    face = font->face;
    return font;
}

void applyIcon(QWidget* widget, HICON icon)
{
    if (!icon)
        return;
    // Read as the PNG it is: a resource named by number has no suffix, and Qt would first look
    // its type up by its contents, 2% of start-up. Without the look-up Qt still loads every image
    // plugin to ask whether it reads PNG, unless told the type is certain.
    if (!icon->qt) {
        QImageReader reader(icon->resource, "PNG");
        reader.setAutoDetectImageFormat(false);
        icon->qt = QIcon(QPixmap::fromImage(reader.read()));
    }
    widget->setWindowIcon(*icon->qt);
}

HICON defaultIcon()
{
    return nullptr;
}

} // namespace platform

using namespace platform;

HFONT CreateFontW(int height, int, int, int, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD, DWORD, DWORD, DWORD, DWORD, LPCWSTR faceName)
{
    auto font = std::make_unique<HFONT__>();
    font->height = height;
    font->weight = weight;
    font->italic = italic != 0;
    font->underline = underline != 0;
    font->strikeOut = strikeOut != 0;
    font->face = faceName ? faceName : L"";
    return fonts().add(std::move(font));
}

BOOL DeleteObject(HGDIOBJ object)
{
    auto* font = static_cast<HFONT>(object);
    if (!isFont(font))
        return FALSE;
    // Layer: the description stays, since a control may still hold the handle; only Qt's copy goes.
    font->qt.reset();
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint)
{
    if (!paint)
        return nullptr;
    *paint = PAINTSTRUCT{};
    if (paints().empty() || paints().back().hwnd != hwnd)
        return nullptr;
    static HDC__ context;
    context = {paints().back().painter, hwnd};
    const QRect area = paints().back().area;
    paint->hdc = &context;
    paint->fErase = TRUE;
    paint->rcPaint = {area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    return &context;
}

BOOL EndPaint(HWND, const PAINTSTRUCT*)
{
    return TRUE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    if (!dc || !dc->painter || !rect)
        return 0;
    const QRect area(int(rect->left), int(rect->top), int(rect->right - rect->left),
                     int(rect->bottom - rect->top));
    dc->painter->fillRect(area, brushColour(brush));
    return 1;
}

HICON LoadIconW(HINSTANCE, LPCWSTR name)
{
    const auto id = reinterpret_cast<ULONG_PTR>(name);
    if (id > 0xFFFF)
        return nullptr;
    static std::vector<std::unique_ptr<HICON__>> icons;
    const QString resource = QStringLiteral(":/quenwrite/icon/%1").arg(id);
    for (const auto& icon : icons) {
        if (icon->resource == resource)
            return icon.get();
    }
    // Whether it is there, without reading its images: that is done once, when it is shown.
    if (!QFile::exists(resource))
        return nullptr;
    icons.push_back(std::make_unique<HICON__>(HICON__{resource, std::nullopt}));
    return icons.back().get();
}
