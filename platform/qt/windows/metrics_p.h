// The fixed frame metrics that turn a Qt client area into the outer rectangle Windows would
// report. They are the values of Windows 10 at 96 DPI with the default theme: a sizing frame of
// 8 pixels on every side (4 sizing border + 4 padded border), a 23-pixel caption and a one-row
// menu bar of 20. A window without a sizing border gets the 3-pixel fixed frame. So a 500 x 500
// main window with a menu has a 484 x 441 client area, as the editor's layout expects.
#pragma once

#include "platform/win32.h"

namespace platform::metrics {

constexpr int sizingFrame = 8;
constexpr int fixedFrame = 3;
constexpr int caption = 23;
constexpr int menuBar = 20;
constexpr int minimizedWidth = 160;
constexpr int minimizedHeight = 28;
constexpr int parkedPosition = -32000;
constexpr int defaultX = 120;
constexpr int defaultY = 90;
constexpr int cascadeStep = 26;

struct Frame {
    int left;
    int top;
    int right;
    int bottom;
};

// What lies between a top-level window's outer rectangle and its client area.
inline Frame frameOf(DWORD style, bool hasMenu)
{
    const int side = (style & WS_THICKFRAME) ? sizingFrame : fixedFrame;
    return {side, side + caption + (hasMenu ? menuBar : 0), side, side};
}

} // namespace platform::metrics
