// The Windows front end's canvas for render_ppm: GDI on a DIB section.
#include <algorithm>

#include "render_ppm.h"
#include "win32/dib_surface.h"
#include "win32/gdi_canvas.h"

namespace tavo::test {

std::vector<uint32_t> PaintOnSurface(int32_t width, int32_t height, const std::function<void(Canvas&)>& paint) {
    win32::DibSurface surface;
    surface.Resize(width, height);
    {
        win32::GdiCanvas canvas(surface.Dc());
        paint(canvas);
    }
    const uint32_t* pixels = surface.Pixels();
    std::vector<uint32_t> out(pixels, pixels + std::size_t(width) * std::size_t(height));
    for (uint32_t& p : out) p &= 0xFFFFFFu;
    return out;
}

}  // namespace tavo::test
