// The Linux front end's canvas for render_ppm.
#include <QImage>

#include "qt/offscreen_gui.h"
#include "qt/canvas.h"
#include "render_ppm.h"

namespace tavo::test {

std::vector<uint32_t> PaintOnSurface(int32_t width, int32_t height, const std::function<void(Canvas&)>& paint) {
    const OffscreenGui gui;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtCanvas canvas(image);
        paint(canvas);
    }
    std::vector<uint32_t> pixels;
    pixels.reserve(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(image.pixel(x, y) & 0xFFFFFFu);
    return pixels;
}

}  // namespace tavo::test
