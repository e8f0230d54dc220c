#pragma once
// What the viewer's canvas (viewer/canvas.h) promises, written once as a
// table of cases and checked on each canvas through a Painter: QtCanvas,
// GdiCanvas under Wine, and the recording canvas replayed onto either.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "export/jw_object.h"
#include "viewer/canvas.h"
#include "viewer/gesture_icons.h"
#include "viewer/recording_canvas.h"

namespace tavo::test {

using Paint = std::function<void(Canvas&)>;
// Pixels (0x00RRGGBB, rows from the top) of a white surface of the given
// size after each pass has painted on a canvas of its own over it.
using Painter = std::function<std::vector<uint32_t>(int32_t width, int32_t height, const std::vector<Paint>& passes)>;

constexpr int32_t kContractSize = 120;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kAnyInk = 0xFF000000;  // a probe's pixel: anything but white

// At least `atLeast` of the `length` pixels from (x, y) rightward are `pixel`.
struct Probe {
    int32_t x, y;
    uint32_t pixel;
    int32_t length = 1, atLeast = 1;
};

// Where the ink (every pixel not white) lies: inside `within`, at least
// `minWidth` wide, with one pixel at least of `pixel` (kAnyInk: any).
struct Ink {
    PixelRect within;
    int32_t minWidth = 1;
    uint32_t pixel = kAnyInk;
};

struct CanvasCase {
    const char* name;
    Paint paint;
    std::vector<Probe> probes;
    std::vector<Ink> ink;
    // Drawn over stripes of several colours it changes them; drawn again,
    // it leaves them as they were.
    bool undoesItself = false;
};

// A recorded XorPicture keeps the picture's address: the pictures live on.
inline const Picture& TwoColourPicture() {
    static const Picture p{3, 1, {0x000000, 0xFFFFFF, 0x808000}};
    return p;
}
inline const Picture& ZoomOutIcon() {
    static const Picture p = LoadGestureIcon(GestureIcon::ZoomOut);
    return p;
}

inline LogicalFont MojiFont(int32_t escapement) {
    LogicalFont f;
    f.Height = -20;
    f.Width = 10;
    f.Escapement = f.Orientation = escapement;
    f.CharSet = 128;
    f.FaceName = kMojiFontName;
    return f;
}

inline std::vector<CanvasCase> CanvasContract() {
    constexpr uint32_t black = 0x000000, red = 0xFF0000, green = 0x008000;
    const auto pen = [](Canvas& c, WinColor colour, PenStyle style, PenMix mix) {
        c.SetPen(colour, style, mix);
        c.SetBrush(0, BrushStyle::Clear);
    };
    return {
        {"lines leave out their last pixel and go on from the current position",
         [=](Canvas& c) {
             pen(c, black, PenStyle::Solid, PenMix::Copy);
             c.MoveTo(2, 5); c.LineTo(12, 5);
             c.MoveTo(20, 2); c.LineTo(20, 9); c.LineTo(25, 9);
             c.MoveTo(3, 20); c.LineTo(3, 20);  // no length: nothing
         },
         {{2, 5, black, 10, 10}, {1, 5, kWhite}, {12, 5, kWhite}, {20, 2, black}, {20, 9, black}, {25, 9, kWhite}},
         {{{2, 2, 25, 10}}}},
        {"colours are Windows values, red in the lowest byte; fills stop before right and bottom",
         [](Canvas& c) { c.SetPixel(1, 1, 0x0000FF); c.SetPixel(39, 39, 0x800000); c.FillRect({4, 4, 6, 6}, 0x808000); },
         {{1, 1, red}, {39, 39, 0x000080}, {4, 4, 0x008080, 2, 2}, {5, 5, 0x008080}, {6, 5, kWhite}, {5, 6, kWhite}},
         {}},
        {"outlines lie inside their box; a clear brush leaves the inside",
         [=](Canvas& c) {
             pen(c, black, PenStyle::Solid, PenMix::Copy);
             c.Ellipse({0, 0, 11, 11}); c.Rectangle({20, 20, 30, 25});
         },
         {{0, 5, kAnyInk}, {10, 5, kAnyInk}, {11, 5, kWhite}, {5, 5, kWhite}, {20, 20, black, 10, 10}, {29, 24, black}, {25, 22, kWhite}},
         {{{0, 0, 30, 25}, 30}}},
        {"a polygon is outlined with the pen and filled even-odd with the brush",
         [](Canvas& c) {
             c.SetPen(0x008000, PenStyle::Solid, PenMix::Copy);
             c.SetBrush(0x0000FF, BrushStyle::Solid);
             c.Polygon({{90, 62}, {106, 113}, {63, 81}, {117, 81}, {74, 113}});
         },
         {{90, 62, green}, {90, 70, red}, {90, 90, kWhite}},
         {{{63, 62, 118, 114}, 50}}},
        {"an arc runs counter-clockwise from the ray toward its start to the ray toward its end",
         [=](Canvas& c) {
             pen(c, black, PenStyle::Solid, PenMix::Copy);
             c.Arc({5, 5, 46, 46}, {45, 25}, {25, 5});  // the upper-right quarter
         },
         {},
         {{{23, 5, 46, 28}, 16}}},
        {"not-xor sets NOT(pen XOR screen); an xor picture's black leaves the screen",
         [=](Canvas& c) {
             c.FillRect({10, 10, 20, 20}, 0x000000);
             pen(c, 0x0000FF, PenStyle::Solid, PenMix::NotXor);
             c.MoveTo(0, 15); c.LineTo(30, 15);
             c.XorPicture(0, 30, TwoColourPicture());
         },
         {{5, 15, red}, {15, 15, 0x00FFFF}, {29, 15, red}, {30, 15, kWhite}, {0, 30, kWhite}, {1, 30, black}, {2, 30, 0xFF7F7F}},
         {}},
        {"a dotted pen leaves gaps",
         [=](Canvas& c) { pen(c, 0x0000FF, PenStyle::Dot, PenMix::Copy); c.MoveTo(5, 5); c.LineTo(100, 5); },
         {{5, 5, red, 95, 30}, {5, 5, kWhite, 95, 30}},
         {}},
        {"the rubber band",
         [=](Canvas& c) { pen(c, 0x0000FF, PenStyle::Dot, PenMix::NotXor); c.Rectangle({5, 5, 100, 80}); }, {}, {}, true},
        {"the zoom window's lines",
         [=](Canvas& c) { pen(c, 0x0000FF, PenStyle::Solid, PenMix::NotXor); c.MoveTo(3, 70); c.LineTo(70, 3); c.LineTo(110, 110); },
         {}, {}, true},
        {"a gesture icon", [](Canvas& c) { c.XorPicture(60, 60, ZoomOutIcon()); }, {}, {}, true},
        {"Shift-JIS text from the logical font, its first cell's top-left at the point, in the text colour",
         [](Canvas& c) {
             c.SetTextColor(0x0000FF);
             c.SetFont(MojiFont(0));
             c.TextOut(10, 10, "\x83" "e\x83X\x83g AB");  // "テスト AB": six cells of ten pixels, a blank
         },
         {},
         {{{10, 10, 102, 33}, 60, red}}},
        {"text turned a quarter counter-clockwise",
         [](Canvas& c) { c.SetFont(MojiFont(900)); c.TextOut(60, 100, "\x8e\x9a"); },  // "字"
         {},
         {{{60, 75, 85, 102}, 10}}},
    };
}

// Columns of five colours, so that a mix that is not its own inverse shows.
inline void Stripes(Canvas& c) {
    const WinColor colours[] = {0xFFFFFF, 0x000000, 0x808000, 0xFF0080, 0x00FFFF};
    for (int32_t i = 0; i < kContractSize / 2; ++i) c.FillRect({i * 2, 0, i * 2 + 2, kContractSize}, colours[i % 5]);
}

inline void CheckCase(const Painter& paint, const CanvasCase& t) {
    SCOPED_TRACE(t.name);
    const int32_t n = kContractSize;
    if (t.undoesItself) {
        const std::vector<uint32_t> before = paint(n, n, {Stripes});
        EXPECT_NE(paint(n, n, {Stripes, t.paint}), before) << "drew nothing";
        EXPECT_EQ(paint(n, n, {Stripes, t.paint, t.paint}), before) << "drawn twice, the screen changed";
    }
    if (t.probes.empty() && t.ink.empty()) return;
    const std::vector<uint32_t> pixels = paint(n, n, {t.paint});
    const auto at = [&](int32_t x, int32_t y) { return pixels[std::size_t(y) * n + std::size_t(x)]; };
    const auto is = [](uint32_t pixel, uint32_t wanted) { return wanted == kAnyInk ? pixel != kWhite : pixel == wanted; };
    for (const Probe& p : t.probes) {
        int32_t found = 0;
        for (int32_t x = p.x; x < p.x + p.length; ++x) found += is(at(x, p.y), p.pixel);
        EXPECT_GE(found, p.atLeast) << std::hex << p.pixel << std::dec << " from " << p.x << "," << p.y
                                    << (p.length == 1 ? " is " + std::to_string(at(p.x, p.y)) : "");
    }
    for (const Ink& ink : t.ink) {
        PixelRect box{n, n, -1, -1};
        bool coloured = false;
        for (int32_t y = 0; y < n; ++y)
            for (int32_t x = 0; x < n; ++x) {
                if (at(x, y) == kWhite) continue;
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
                coloured = coloured || is(at(x, y), ink.pixel);
            }
        EXPECT_TRUE(box.left >= ink.within.left && box.top >= ink.within.top && box.right <= ink.within.right &&
                    box.bottom <= ink.within.bottom)
            << "ink from " << box.left << "," << box.top << " to " << box.right << "," << box.bottom;
        EXPECT_GE(box.right - box.left, ink.minWidth);
        EXPECT_TRUE(coloured) << "no ink of " << std::hex << ink.pixel;
    }
}

inline void CheckCanvasContract(const Painter& paint) {
    for (const CanvasCase& t : CanvasContract()) CheckCase(paint, t);
}

// The recording canvas keeps every call: its passes replayed on another
// canvas draw what that canvas draws itself.
inline Painter Replayed(Painter onto) {
    return [onto](int32_t width, int32_t height, const std::vector<Paint>& passes) {
        std::vector<Paint> replays;
        for (const Paint& pass : passes) {
            RecordingCanvas recording;
            pass(recording);
            replays.push_back([recording](Canvas& c) { recording.Replay(c); });
        }
        return onto(width, height, replays);
    };
}

}  // namespace tavo::test
