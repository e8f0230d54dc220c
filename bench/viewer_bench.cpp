// One paint of the preview on a 1920 x 1080 QtCanvas: 100,000 lines, 10,000
// circles and arcs and 10,000 texts on an A3 sheet, fitted and zoomed in 50
// times; against drawing the same lines, already in pixels, with a single
// QPainter::drawLines call.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <vector>

#include "export/jw_object.h"
#include "gui/offscreen_gui.h"
#include "gui/qt_canvas.h"
#include "viewer/jw_brws.h"

namespace {

using namespace tavo;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kLines = 100000, kCircles = 10000, kTexts = 10000;

class Random {
public:
    double Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(state_ >> 11) / double(1ULL << 53);
    }
    double Between(double a, double b) { return a + (b - a) * Next(); }

private:
    uint64_t state_ = 42;
};

// Lines from 2 to 40 mm in runs of one pen, one in ten dashed; circles,
// arcs and some ellipses; texts of sizes 2 to 5, some turned or vertical.
// Real-world mm at 1:100, as a worksheet export makes them.
const TJwObject& Drawing() {
    static const TJwObject d = [] {
        TJwObject o;
        o.PlotSize = 3;
        Random r;
        for (int i = 0; i < kLines; ++i) {
            const double x = r.Between(5, 415), y = r.Between(5, 292);
            const double a = r.Between(0, 2 * 3.14159265), len = r.Between(2, 40);
            const uint8_t type = i % 10 == 9 ? uint8_t(2 + (i / 10) % 8) : 1;
            o.AddLine(x * 100, y * 100, (x + std::cos(a) * len) * 100, (y + std::sin(a) * len) * 100, 0, 0, type,
                      uint8_t(1 + (i / 1000) % 9));
        }
        for (int i = 0; i < kCircles; ++i) {
            const double x = r.Between(5, 415), y = r.Between(5, 292), rad = r.Between(1, 15);
            const bool arc = i % 2 == 1, ellipse = i % 10 == 3;
            o.AddCircle(x * 100, y * 100, rad * 100, ellipse ? 0.5 : 1, arc ? 30 : 0, arc ? 200 : 0, ellipse ? 20 : 0,
                        0, 0, uint8_t(i % 20 == 7 ? 2 : 1), uint8_t(1 + (i / 500) % 9));
        }
        const char* const words[] = {"\x90\xa1\x96\x40" "123", "A-12", "\x83R\x83\x93\x83N\x83\x8a\x81[\x83g",
                                     "Fc=24", "\x95\xbd\x96\xca\x90\x7d", "x=1,850"};
        for (int i = 0; i < kTexts; ++i) {
            const double x = r.Between(5, 400), y = r.Between(5, 290);
            const double a = i % 10 == 5 ? 0.5 : 0;
            o.AddText(x * 100, y * 100, (x + std::cos(a) * 20) * 100, (y + std::sin(a) * 20) * 100, 0, 0,
                      uint8_t(2 + i % 4), words[i % 6], i % 20 == 11);
        }
        return o;
    }();
    return d;
}

void Fit(TJwBrws& v) {
    v.SetSize(kWidth, kHeight);
    v.Drawing = const_cast<TJwObject*>(&Drawing());
    v.FitPaper();
}

void BM_DrawLinesInPixels(benchmark::State& state) {
    OffscreenGui gui;
    TJwBrws v;
    Fit(v);
    std::vector<QLine> lines;
    for (const TLineItem& l : Drawing().Lines)
        lines.emplace_back(int(std::lround(l.X1 / 100 * v.PixelScale)),
                           int(std::lround((v.Origin.Y - l.Y1 / 100) * v.PixelScale)),
                           int(std::lround(l.X2 / 100 * v.PixelScale)),
                           int(std::lround((v.Origin.Y - l.Y2 / 100) * v.PixelScale)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        QPen pen(Qt::black);
        pen.setWidth(0);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawLines(lines.data(), int(lines.size()));
    }
}
BENCHMARK(BM_DrawLinesInPixels)->Unit(benchmark::kMillisecond);

void PaintBench(benchmark::State& state, double zoom, bool warm) {
    OffscreenGui gui;
    TJwBrws v;
    Fit(v);
    if (zoom != 1) {
        // Zoomed in around the middle of the sheet.
        v.ZoomWindow({int(kWidth * 0.5 - kWidth * 0.5 / zoom), int(kHeight * 0.5 - kHeight * 0.5 / zoom)},
                     {int(kWidth * 0.5 + kWidth * 0.5 / zoom), int(kHeight * 0.5 + kHeight * 0.5 / zoom)});
    }
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QtCanvasCache cache;
    for (auto _ : state) {
        if (!warm) cache = QtCanvasCache();
        QtCanvas canvas(image, cache);
        v.Paint(canvas);
    }
    state.counters["PixelScale"] = v.PixelScale;
}

void BM_PaintFitted(benchmark::State& state) { PaintBench(state, 1, true); }
void BM_PaintFittedColdCaches(benchmark::State& state) { PaintBench(state, 1, false); }
void BM_PaintZoomed50(benchmark::State& state) { PaintBench(state, 50, true); }
BENCHMARK(BM_PaintFitted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFittedColdCaches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomed50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
