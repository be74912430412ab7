// The test seam's view of the controls: a control's picture, painted the way the screen gets it.
#include "platform/qt/windows/window_p.h"
#include "platform/testing/testing.h"

#include <QImage>
#include <QPixmap>

namespace platform::testing {

Picture pictureOf(HWND hwnd)
{
    Picture picture;
    if (!live(hwnd) || !hwnd->widget)
        return picture;
    const QImage image = hwnd->widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    picture.width = image.width();
    picture.height = image.height();
    picture.pixels.reserve(std::size_t(picture.width * picture.height));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            picture.pixels.push_back(image.pixel(x, y) & 0xFFFFFF);
    }
    return picture;
}

} // namespace platform::testing
