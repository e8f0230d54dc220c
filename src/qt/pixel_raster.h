#pragma once

#include <QImage>
#include <cstdint>

namespace tavo {

// Writes the viewer's plain figures straight into the pixels of a 32-bit
// image: one-pixel lines that leave out their last pixel, outlines of
// ellipses and arcs as chains of such lines, single pixels, and coverage
// masks blended in one colour. It does what QPainter would do for these
// cases, without QPainter's cost per call, which a paint of a hundred
// thousand figures pays a hundred thousand times. Everything is clipped to
// the image.
class PixelRaster {
public:
    // `image` must outlive the raster; one not of a 32-bit RGB format is
    // converted to Format_RGB32 first.
    explicit PixelRaster(QImage& image);

    // Pixels from (x0, y0) toward (x1, y1), the last one left out; on a tie
    // the minor axis steps at the half.
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, QRgb color);
    void Pixel(int32_t x, int32_t y, QRgb color);
    // The outline of the ellipse within the box whose right and bottom
    // edges lie outside it, counter-clockwise on screen from parameter
    // angle `start` through `span` (radians); a span of 2 pi is the whole.
    void EllipseArc(int32_t left, int32_t top, int32_t right, int32_t bottom, double start, double span,
                    QRgb color);
    // `mask`'s alpha as coverage, its top-left pixel at (x, y).
    void Blend(const QImage& mask, int32_t x, int32_t y, QRgb color);

private:
    uint32_t* bits_;
    int64_t stride_;  // in pixels
    int32_t width_, height_;
};

}  // namespace tavo
