// The font rule shared by start-up, the settings file and the Format text window.
#include "format/font_choice.h"

#include <climits>

namespace {

// Single precision and truncation toward zero: size 11 gives height 16, -5 gives -7. A size from
// the settings file can be any 32-bit number; heights beyond int's range stop at its ends
// instead of overflowing the conversion.
int heightOf(int size)
{
    const float height = static_cast<float>(size) * 1.5f;
    if (height >= 2147483648.0f)
        return INT_MAX;
    if (height <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(height);
}

} // namespace

HFONT createFontFromChoice(int size, int weight, bool italic, const wchar_t* family)
{
    return CreateFontW(heightOf(size), 0, 0, 0, weight, italic ? 1 : 0, 0, 0, DEFAULT_CHARSET,
                       OUT_OUTLINE_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH,
                       family);
}
