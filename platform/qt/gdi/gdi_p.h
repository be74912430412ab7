// What GDI's fonts, brushes and icons give the rest of the layer: the Qt font and colour behind a
// handle, and a window's icon.
#pragma once

#include "platform/win32.h"

#include <string>

class QColor;
class QFont;
class QWidget;

namespace platform {

// The font to draw a control with: its WM_SETFONT font, else the System font.
QFont controlFont(HWND hwnd);
QFont qtFont(HFONT font);
QFont systemFont();
QColor brushColour(HBRUSH brush);

// The description behind a font handle, or null when the handle is not a font of ours.
HFONT fontOfRecord(HFONT font, int& height, int& weight, bool& italic, std::wstring& face);

void applyIcon(QWidget* widget, HICON icon);
HICON defaultIcon();

} // namespace platform
