// QtCanvas: the canvas contract on a QImage and its raster's clipping.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "canvas_contract.h"
#include "qt/offscreen_gui.h"
#include "qt/pixel_raster.h"
#include "qt/canvas.h"

namespace tavo {
namespace {

void EnsureGui() { static OffscreenGui gui; }

std::vector<uint32_t> QtPasses(int32_t width, int32_t height, const std::vector<test::Paint>& passes) {
    EnsureGui();
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (const test::Paint& pass : passes) {
        QtCanvas canvas(image);
        pass(canvas);
    }
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(image.pixel(x, y) & 0xFFFFFFu);
    return pixels;
}

TEST(QtCanvas, KeepsTheCanvasContract) {
    test::CheckCanvasContract(QtPasses);
    // The face of the logical font shows as IPAGothic.
    QFont probe(QString::fromUtf8("ＭＳ ゴシック"));
    probe.setPixelSize(20);
    EXPECT_EQ(QFontInfo(probe).family(), QStringLiteral("IPAGothic"));
}

TEST(RecordingCanvas, ReplayedKeepsTheCanvasContract) { test::CheckCanvasContract(test::Replayed(QtPasses)); }

// Every step of a line as the raster defines it, k * minor / n rounded with
// halves up, written only where it lands in the image: the reference that
// clipping must not change.
QImage ReferenceLine(QSize size, int x0, int y0, int x1, int y1) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int64_t dx = std::llabs(int64_t{x1} - x0), dy = std::llabs(int64_t{y1} - y0);
    const bool xMajor = dx >= dy;
    const int64_t n = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    for (int64_t k = 0; k < n; ++k) {
        const int64_t m = (2 * k * minor + n) / (2 * n);
        const int64_t x = x0 + (x1 >= x0 ? 1 : -1) * (xMajor ? k : m);
        const int64_t y = y0 + (y1 >= y0 ? 1 : -1) * (xMajor ? m : k);
        if (x >= 0 && y >= 0 && x < size.width() && y < size.height()) image.setPixel(int(x), int(y), qRgb(0, 0, 0));
    }
    return image;
}

TEST(PixelRaster, LinesClipToTheImageWithoutChangingAPixel) {
    const QSize size(37, 23);
    uint64_t state = 7;
    const auto next = [&](int range) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return int(int64_t(state >> 33) % (2 * range + 1)) - range;
    };
    for (int i = 0; i < 3000; ++i) {
        const int range = i % 3 == 0 ? 12 : i % 3 == 1 ? 60 : 2500;
        const int x0 = next(range) + 18, y0 = next(range) + 11, x1 = next(range) + 18, y1 = next(range) + 11;
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        PixelRaster(image).Line(x0, y0, x1, y1, qRgb(0, 0, 0));
        ASSERT_EQ(image, ReferenceLine(size, x0, y0, x1, y1)) << x0 << "," << y0 << " " << x1 << "," << y1;
    }
    // Lines reaching far beyond the image cost their visible part only.
    const int32_t far = 268435456;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    PixelRaster raster(image);
    raster.Line(-far, 5, far, 5, qRgb(0, 0, 0));
    raster.Line(-far, -far, far, far, qRgb(255, 0, 0));
    for (int x = 0; x < size.width(); ++x) EXPECT_EQ(image.pixel(x, 5), x == 5 ? qRgb(255, 0, 0) : qRgb(0, 0, 0)) << x;
    for (int d = 0; d < size.height(); ++d) EXPECT_EQ(image.pixel(d, d), qRgb(255, 0, 0)) << d;
    EXPECT_EQ(image.pixel(30, 10), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace tavo
