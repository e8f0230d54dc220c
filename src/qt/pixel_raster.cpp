#include "qt/pixel_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/geometry.h"
#include "viewer/view_math.h"

namespace tavo {

namespace {

// Integer division rounding toward minus and plus infinity.
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// Narrows the steps [first, last] to those whose major coordinate
// start + dir * k lies in [0, size).
void KeepMajor(int64_t start, int32_t dir, int64_t size, int64_t& first, int64_t& last) {
    if (dir > 0) {
        first = std::max(first, -start);
        last = std::min(last, size - 1 - start);
    } else {
        first = std::max(first, start - (size - 1));
        last = std::min(last, start);
    }
}

// The same for the minor coordinate start + dir * m(k), where m(k) =
// floor((2 k minor + n) / (2 n)) grows with k: m(k) >= a from
// k >= ceil((2 n a - n) / (2 minor)), and m(k) <= b up to
// k <= ceil((2 n (b + 1) - n) / (2 minor)) - 1.
void KeepMinor(int64_t start, int32_t dir, int64_t size, int64_t minor, int64_t n, int64_t& first,
               int64_t& last) {
    // The minor steps m that keep the coordinate inside.
    const int64_t low = dir > 0 ? -start : start - (size - 1);
    const int64_t high = dir > 0 ? size - 1 - start : start;
    if (high < 0 || low > high) {
        last = first - 1;
        return;
    }
    if (minor == 0) {
        if (low > 0) last = first - 1;
        return;
    }
    if (low > 0) first = std::max(first, CeilDiv(2 * n * low - n, 2 * minor));
    last = std::min(last, CeilDiv(2 * n * (high + 1) - n, 2 * minor) - 1);
}

// Segments for an ellipse of these radii: the chords then stay within a
// quarter pixel of the curve.
int64_t FullTurnSegments(double rx, double ry) {
    const double r = std::max(rx, ry);
    return std::clamp<int64_t>(static_cast<int64_t>(std::ceil(4.5 * std::sqrt(r))), 8, 16384);
}

}  // namespace

namespace {

QImage& ThirtyTwoBit(QImage& image) {
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

}  // namespace

PixelRaster::PixelRaster(QImage& image)
    : bits_(reinterpret_cast<uint32_t*>(ThirtyTwoBit(image).bits())),
      stride_(image.bytesPerLine() / 4),
      width_(image.width()),
      height_(image.height()) {}

void PixelRaster::Pixel(int32_t x, int32_t y, QRgb color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    bits_[y * stride_ + x] = color;  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): inside the image
}

void PixelRaster::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, QRgb color) {
    const int64_t dx = std::llabs(int64_t{x1} - x0), dy = std::llabs(int64_t{y1} - y0);
    const bool xMajor = dx >= dy;
    const int64_t n = xMajor ? dx : dy;  // pixels, the end left out
    if (n == 0) return;
    const int64_t minor = xMajor ? dy : dx;
    const int32_t sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
    // Only the steps whose pixels lie in the image, found exactly, so that
    // a line far beyond the image costs nothing and the loop checks nothing.
    int64_t first = 0, last = n - 1;
    if (xMajor) {
        KeepMajor(x0, sx, width_, first, last);
        KeepMinor(y0, sy, height_, minor, n, first, last);
    } else {
        KeepMajor(y0, sy, height_, first, last);
        KeepMinor(x0, sx, width_, minor, n, first, last);
    }
    if (first > last) return;
    // At step k the minor axis has moved m(k) pixels: k * minor / n rounded,
    // halves up; e carries the remainder of 2 k minor + n over 2 n.
    const int64_t m = (2 * first * minor + n) / (2 * n);
    int64_t e = 2 * first * minor + n - 2 * n * m;
    const int64_t x = x0 + sx * (xMajor ? first : m), y = y0 + sy * (xMajor ? m : first);
    const int64_t majorStep = xMajor ? sx : sy * stride_, minorStep = xMajor ? sy * stride_ : sx;
    int64_t at = y * stride_ + x;
    for (int64_t k = first; k <= last; ++k) {
        bits_[at] = color;  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): every step was kept inside
        at += majorStep;
        e += 2 * minor;
        if (e >= 2 * n) {
            e -= 2 * n;
            at += minorStep;
        }
    }
}

void PixelRaster::EllipseArc(int32_t left, int32_t top, int32_t right, int32_t bottom, double start, double span,
                             QRgb color) {
    const int32_t l = std::min(left, right), r = std::max(left, right) - 1;
    const int32_t t = std::min(top, bottom), b = std::max(top, bottom) - 1;
    if (r < l || b < t) return;
    const double cx = (double(l) + r) / 2, cy = (double(t) + b) / 2;
    const double rx = (double(r) - l) / 2, ry = (double(b) - t) / 2;
    if (rx < 1 && ry < 1) {  // too small for a chain
        Line(l, t, r + 1, t, color);
        if (b > t) Line(l, b, r + 1, b, color);
        return;
    }
    const int64_t n = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(
                                               static_cast<double>(FullTurnSegments(rx, ry)) * span / (2 * kPi))));
    // The points turn by one step each: a rotation instead of a sine and a
    // cosine per point.
    const double step = span / static_cast<double>(n), turnCos = std::cos(step), turnSin = std::sin(step);
    double c = std::cos(start), s = std::sin(start);
    const auto point = [&] {
        return std::pair<int32_t, int32_t>{RoundPixel(cx + rx * c),
                                           RoundPixel(cy - ry * s)};
    };
    auto from = point();
    for (int64_t k = 1; k <= n; ++k) {
        const double nc = c * turnCos - s * turnSin;
        s = s * turnCos + c * turnSin;
        c = nc;
        const auto to = point();
        Line(from.first, from.second, to.first, to.second, color);
        from = to;
    }
    // An arc's last point, which no following chord draws.
    if (span < 2 * kPi) Pixel(from.first, from.second, color);
}

void PixelRaster::Blend(const QImage& mask, int32_t x, int32_t y, QRgb color) {
    const int32_t x0 = std::max(0, x), y0 = std::max(0, y);
    const int32_t x1 = std::min(width_, x + mask.width()), y1 = std::min(height_, y + mask.height());
    const uint32_t cr = qRed(color), cg = qGreen(color), cb = qBlue(color);
    for (int32_t py = y0; py < y1; ++py) {
        const auto* src = reinterpret_cast<const QRgb*>(mask.constScanLine(py - y));
        uint32_t* dst = bits_ + py * stride_;  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): a row of the image
        for (int32_t px = x0; px < x1; ++px) {
            // NOLINTBEGIN(cppcoreguidelines-pro-bounds-pointer-arithmetic): within both rows
            const uint32_t a = qAlpha(src[px - x]);
            if (a == 0) continue;
            uint32_t& d = dst[px];
            // NOLINTEND(cppcoreguidelines-pro-bounds-pointer-arithmetic)
            if (a == 255) {
                d = color;
                continue;
            }
            const auto mix = [a](uint32_t c, uint32_t under) { return (c * a + under * (255 - a) + 127) / 255; };
            d = qRgb(int(mix(cr, uint32_t(qRed(d)))), int(mix(cg, uint32_t(qGreen(d)))),
                     int(mix(cb, uint32_t(qBlue(d)))));
        }
    }
}

}  // namespace tavo
