// Frames of the preview on a 1920 x 1080 QtCanvas: 100,000 lines, 10,000
// circles and arcs and 10,000 texts on an A3 sheet, fitted, panned by a
// quarter window, zoomed a step in and out, and zoomed in 50 times; each
// against drawing the lines then visible, already in pixels, with a single
// QPainter::drawLines call.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <ctime>
#include <cmath>
#include <functional>
#include <vector>

#include "export/jw_object.h"
#include "qt/offscreen_gui.h"
#include "qt/canvas.h"
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

// The lines that pass the viewer's culling in the control's current view,
// as pixel segments rounded as the viewer rounds them.
std::vector<QLine> VisibleLines(const TJwBrws& v) {
    std::vector<QLine> lines;
    const auto px = [&](double x, double y) {
        return QPoint(int(std::nearbyint((x / 100 - v.Origin.X) * v.PixelScale)),
                      int(std::nearbyint((v.Origin.Y - y / 100) * v.PixelScale)));
    };
    for (const TLineItem& l : Drawing().Lines) {
        const QPoint a = px(l.X1, l.Y1), b = px(l.X2, l.Y2);
        if (std::max(a.x(), b.x()) < 0 || std::min(a.x(), b.x()) > kWidth || std::max(a.y(), b.y()) < 0 ||
            std::min(a.y(), b.y()) > kHeight || a == b)
            continue;
        lines.emplace_back(a, b);
    }
    return lines;
}

// One frame of bare QPainter::drawLines: the background and the lines.
void DrawBare(QImage& image, const std::vector<QLine>& lines) {
    image.fill(Qt::white);
    QPainter p(&image);
    QPen pen(Qt::black);
    pen.setWidth(0);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLines(lines.data(), int(lines.size()));
}

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The median CPU time of a few frames: on a shared machine the wall clock
// also counts the time other programs had the processor.
double MedianMs(const std::function<void()>& frame) {
    std::vector<double> ms;
    for (int i = 0; i < 7; ++i) {
        const double t0 = ThreadCpuMs();
        frame();
        ms.push_back(ThreadCpuMs() - t0);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// How the view changes before the frame, and how it goes back untimed.
struct Step {
    std::function<void(TJwBrws&)> prepare;  // once, untimed
    std::function<void(TJwBrws&)> change;   // timed with the paint
    std::function<void(TJwBrws&)> undo;     // untimed
};

// A frame of the viewer after `change`, against bare drawLines of the lines
// then visible, measured in the same run: the counter "ratio" is the
// viewer's median frame over the bare one, both in CPU time.
void FrameBench(benchmark::State& state, const Step& step) {
    OffscreenGui gui;
    TJwBrws v;
    Fit(v);
    if (step.prepare) step.prepare(v);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QtCanvasCache cache;
    const auto frame = [&] {
        if (step.change) step.change(v);
        QtCanvas canvas(image, cache);
        v.Paint(canvas);
    };
    frame();  // the caches warm, as after the first frame on screen
    if (step.undo) step.undo(v);
    for (auto _ : state) {
        frame();
        if (step.undo) {
            state.PauseTiming();
            step.undo(v);
            state.ResumeTiming();
        }
    }
    // The ratio, from medians of frames timed here one after the other.
    if (step.change) step.change(v);
    const std::vector<QLine> lines = VisibleLines(v);
    if (step.undo) step.undo(v);
    const double bare = MedianMs([&] { DrawBare(image, lines); });
    const double viewer = MedianMs([&] {
        frame();
        if (step.undo) step.undo(v);
    });
    state.counters["bare_ms"] = bare;
    state.counters["viewer_ms"] = viewer;
    state.counters["ratio"] = viewer / bare;
    state.counters["lines"] = double(lines.size());
}

void BM_DrawLinesInPixels(benchmark::State& state) {
    OffscreenGui gui;
    TJwBrws v;
    Fit(v);
    const std::vector<QLine> lines = VisibleLines(v);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) DrawBare(image, lines);
}
BENCHMARK(BM_DrawLinesInPixels)->Unit(benchmark::kMillisecond);

// The whole sheet, fitted.
void BM_PaintFitted(benchmark::State& state) { FrameBench(state, {}); }
// A pan by a quarter window (an arrow key) from the fitted view.
void BM_PanQuarter(benchmark::State& state) {
    FrameBench(state, {nullptr, [](TJwBrws& v) { v.PanRight(); }, [](TJwBrws& v) { v.PanLeft(); }});
}
// A zoom step in: the middle half of the fitted view dragged open.
void BM_ZoomIn(benchmark::State& state) {
    FrameBench(state, {nullptr,
                       [](TJwBrws& v) {
                           v.ZoomWindow({kWidth / 4, kHeight / 4}, {kWidth * 3 / 4, kHeight * 3 / 4});
                       },
                       [](TJwBrws& v) { v.PreviousView(); }});
}
// A zoom step out from twice the fitted scale.
void BM_ZoomOut(benchmark::State& state) {
    FrameBench(state, {[](TJwBrws& v) { v.ZoomWindow({kWidth / 4, kHeight / 4}, {kWidth * 3 / 4, kHeight * 3 / 4}); },
                       [](TJwBrws& v) { v.ZoomOut(); }, [](TJwBrws& v) { v.PreviousView(); }});
}
// Deep inside the sheet: few entities, the cost of walking them all.
void BM_PaintZoomed50(benchmark::State& state) {
    FrameBench(state, {[](TJwBrws& v) {
                           v.ZoomWindow({int(kWidth * 0.5 - kWidth * 0.5 / 50), int(kHeight * 0.5 - kHeight * 0.5 / 50)},
                                        {int(kWidth * 0.5 + kWidth * 0.5 / 50), int(kHeight * 0.5 + kHeight * 0.5 / 50)});
                       },
                       nullptr, nullptr});
}
BENCHMARK(BM_PaintFitted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanQuarter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomOut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomed50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
