// The font rule shared by start-up, the settings file and the Format text window.
#include "format/font_choice.h"

HFONT createFontFromChoice(int size, int weight, bool italic, const wchar_t* family)
{
    // Single precision and truncation toward zero: size 11 gives height 16, -5 gives -7.
    const int height = static_cast<int>(static_cast<float>(size) * 1.5f);
    return CreateFontW(height, 0, 0, 0, weight, italic ? 1 : 0, 0, 0, DEFAULT_CHARSET,
                       OUT_OUTLINE_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH,
                       family);
}
