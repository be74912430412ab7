// The style every window of the program is drawn in: the one Qt chose (Fusion, or what -style or
// QT_STYLE_OVERRIDE names), with its standard icons read when they are first drawn.
#pragma once

class QStyle;

namespace platform {

// Called once, after the application object is made and before any window.
void useStyle();

// The style that draws, seen through the program's own wrapping.
const QStyle* drawingStyle(const QStyle* style);

} // namespace platform
