// Painting: passes, culling, dashes, points, texts and highlighting, as
// drawn on the recording canvas.
#include <gtest/gtest.h>

#include <cmath>

#include "base/geometry.h"
#include "viewer/shape_passes.h"
#include "viewer/text_layout.h"
#include "viewer_support.h"

namespace tavo {
namespace {

using test::FlatDrawing;
using test::Painted;
using test::ShowAt;
using Op = CanvasCall::Op;

std::vector<std::pair<PixelPoint, PixelPoint>> Pieces(const RecordingCanvas& c) {
    std::vector<std::pair<PixelPoint, PixelPoint>> out;
    for (const DrawnSegment& s : c.Segments()) out.push_back({s.from, s.to});
    return out;
}

TEST(ViewerPaint, BackgroundOnlyForAnEmptyDrawingNothingWithoutOne) {
    TJwBrws v;
    EXPECT_TRUE(Painted(v).Calls().empty());
    TJwObject d = FlatDrawing();
    ShowAt(v, d, 2, 300, 150);
    const RecordingCanvas c = Painted(v);
    ASSERT_EQ(c.CallsOf(Op::FillRect).size(), 1u);
    EXPECT_EQ(c.Calls()[0].op, Op::FillRect);
    EXPECT_EQ(c.Calls()[0].rect, (PixelRect{0, 0, 300, 150}));
    EXPECT_EQ(c.Calls()[0].color, 0xFFFFFFu);
    EXPECT_TRUE(c.Segments().empty() && c.Texts().empty());
    EXPECT_FALSE(v.NeedsPaint());
}

TEST(ViewerPaint, LineTypeTwoDrawsItsPatternFromBitOne) {
    TJwObject d = FlatDrawing();
    d.AddLine(0, 0, 10, 0, 0, 0, 2, 1);
    TJwBrws v;
    ShowAt(v, d, 1);
    const RecordingCanvas c = Painted(v);
    using P = std::pair<PixelPoint, PixelPoint>;
    EXPECT_EQ(Pieces(c), (std::vector<P>{{{0, 0}, {1, 0}}, {{3, 0}, {5, 0}}, {{7, 0}, {9, 0}}}));
    EXPECT_EQ(c.Segments()[0].color, 0x808000u);  // pen 1
}

TEST(ViewerPaint, SolidLinesDropDegenerateAndCulledOnes) {
    TJwObject d = FlatDrawing();
    d.AddLine(0, 0, 0.4, 0, 0, 0, 1, 2);        // both ends on one pixel
    d.AddLine(-50, -10, -1, -10, 0, 0, 1, 2);   // left of the control
    d.AddLine(10, -250, 20, -201, 0, 0, 1, 2);  // below it
    d.AddLine(10, -10, 30, -40, 0, 0, 1, 2);
    d.AddLine(200, -200, 300, -300, 0, 0, 1, 2);  // touches the corner: kept
    TJwBrws v;
    ShowAt(v, d, 1);
    const RecordingCanvas c = Painted(v);
    using P = std::pair<PixelPoint, PixelPoint>;
    EXPECT_EQ(Pieces(c), (std::vector<P>{{{10, 10}, {30, 40}}, {{200, 200}, {300, 300}}}));
}

// The dash walk over every step, as written; the pass skips the steps far
// from the control and must draw the same pieces.
std::vector<std::pair<PixelPoint, PixelPoint>> DashReference(PixelRect clip, uint32_t pattern, PixelPoint a,
                                                             PixelPoint b) {
    std::vector<std::pair<PixelPoint, PixelPoint>> out;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const int64_t n = RoundHalfEven(std::sqrt(dx * dx + dy * dy));
    PixelPoint s = a;
    bool open = true;
    for (int64_t k = 1, bit = 1; k <= n; ++k) {
        const PixelPoint p{int32_t(RoundHalfEven(dx / n * k)) + a.x, int32_t(RoundHalfEven(dy / n * k)) + a.y};
        if (p.x < clip.left || p.x > clip.right || p.y < clip.top || p.y > clip.bottom) {
            s = p;
            continue;
        }
        const bool on = (pattern >> bit) & 1;
        if (on != open) on ? (void)(s = p) : out.push_back({s, p});
        open = on;
        bit = (bit + 1) & 31;
    }
    if (open) out.push_back({s, b});
    return out;
}

TEST(ViewerPaint, DashedLinesCrossingTheEdgesMatchTheFullWalk) {
    const TLineTypes types = DefaultLineTypes();
    const PixelRect clip{0, 0, 200, 150};
    uint32_t seed = 7;
    const auto next = [&] { return int32_t(((seed = seed * 1103515245u + 12345u) >> 8) % 1400) - 600; };
    for (int i = 0; i < 300; ++i) {
        TJwObject d = FlatDrawing();
        const int type = 2 + i % 8;
        const PixelPoint a{next(), next()}, b{next(), next()};
        if (a == b) continue;
        TJwBrws v;
        ShowAt(v, d, 1, clip.right, clip.bottom);
        RecordingCanvas direct;
        DrawDashedLine(direct, {d, v.Cache, v.LineTypes, clip, {0, 0}, 1, false}, type, a, b);
        EXPECT_EQ(Pieces(direct), DashReference(clip, types[type - 1].Pattern, a, b))
            << "type " << type << " from " << a.x << "," << a.y << " to " << b.x << "," << b.y;
    }
}

TEST(ViewerPaint, FarAwayEntitiesNeitherHangNorOverflow) {
    TJwObject d = FlatDrawing();
    d.AddLine(-1e12, -5, 1e12, -5, 0, 0, 2, 1);
    d.AddLine(-1e300, -1e300, 1e300, 1e300, 0, 0, 3, 1);
    d.AddLine(std::nan(""), 0, 10, -10, 0, 0, 1, 1);
    d.AddCircle(50, -50, 1e9, 1, 0, 0, 0, 0, 0, 2, 1);
    d.AddCircle(50, 5e5 - 50, 1e6, 0.5, 0, 0, 0, 0, 0, 1, 1);  // its bottom crosses the view
    TJwBrws v;
    ShowAt(v, d, 1);
    const RecordingCanvas c = Painted(v);
    EXPECT_LT(c.Segments().size(), 1000u);  // only the pieces in view
    bool bottom = false;
    for (const DrawnSegment& s : c.Segments()) bottom = bottom || (std::abs(s.from.y - 50) <= 2 && s.from.x >= 0 && s.from.x <= 200);
    EXPECT_TRUE(bottom);
}

TEST(ViewerPaint, PointsAreDiscsOfAtMostThreePixels) {
    TJwObject d = FlatDrawing();
    d.AddDot(10, -10, 0, 0, 3);
    TJwBrws v;
    ShowAt(v, d, 2);
    RecordingCanvas c = Painted(v);
    ASSERT_EQ(c.CallsOf(Op::Ellipse).size(), 1u);
    EXPECT_EQ(c.CallsOf(Op::Ellipse)[0].rect, (PixelRect{19, 19, 22, 22}));  // radius 1
    EXPECT_EQ(c.CallsOf(Op::SetBrush).back().color, 0x008000u);

    v.PixelScale = 20;
    d.Dots[0] = {1, -1, 0, 0, 3, false};
    c = Painted(v);
    EXPECT_EQ(c.CallsOf(Op::Ellipse)[0].rect, (PixelRect{17, 17, 24, 24}));  // radius 3, not 8

    v.PixelScale = 1;
    d.AddDot(201, -10, 0, 0, 3);  // just outside
    c = Painted(v);
    ASSERT_EQ(c.CallsOf(Op::SetPixel).size(), 1u);
    EXPECT_EQ(c.CallsOf(Op::SetPixel)[0].points[0], (PixelPoint{1, 1}));
}

TEST(ViewerPaint, CirclesArcsAndEllipses) {
    TJwObject d = FlatDrawing();
    d.AddCircle(50, -50, 10, 1, 0, 0, 0, 0, 0, 1, 5);    // closed, solid
    d.AddCircle(50, -50, 10, 1, 0, 90, 0, 0, 0, 1, 5);   // arc, solid
    d.AddCircle(100, -100, 20, 1, 0, 0, 0, 0, 0, 2, 5);  // closed, dashed
    TJwBrws v;
    ShowAt(v, d, 1);
    RecordingCanvas c = Painted(v);
    ASSERT_EQ(c.CallsOf(Op::Ellipse).size(), 1u);
    EXPECT_EQ(c.CallsOf(Op::Ellipse)[0].rect, (PixelRect{40, 40, 60, 60}));
    ASSERT_EQ(c.CallsOf(Op::Arc).size(), 1u);
    const CanvasCall arc = c.CallsOf(Op::Arc)[0];
    EXPECT_EQ(arc.rect, (PixelRect{40, 40, 60, 60}));
    EXPECT_EQ(arc.points, (std::vector<PixelPoint>{{60, 50}, {50, 40}}));
    ASSERT_GT(c.Segments().size(), 20u);
    for (const DrawnSegment& s : c.Segments())
        EXPECT_NEAR(std::hypot(s.from.x - 100, s.from.y - 100), 20, 0.8);

    // An ellipse is walked about a pixel per segment; a tiny one not at all.
    d = FlatDrawing();
    d.AddCircle(50.3, -50, 10, 0.5, 0, 0, 0, 0, 0, 1, 2);
    d.AddCircle(10.3, -10, 0.1, 0.5, 0, 0, 0, 0, 0, 1, 2);
    EXPECT_EQ(Painted(v).Segments().size(), 47u);  // Round(15 * 2π * 0.5)
}

TEST(ViewerPaint, TextsBelowEightPixelsAreBoxes) {
    TJwObject d = FlatDrawing();
    d.AddText(10, -20, 20, -20, 0, 0, 1, "AB", false);  // size 1: 2 mm high
    TJwBrws v;
    ShowAt(v, d, 3.5);
    RecordingCanvas c = Painted(v);
    EXPECT_TRUE(c.Texts().empty());
    // (35, 70) -> B (42, 70) -> A (42, 63) -> C (35, 63) -> back
    using P = std::pair<PixelPoint, PixelPoint>;
    EXPECT_EQ(Pieces(c), (std::vector<P>{{{35, 70}, {42, 70}}, {{42, 70}, {42, 63}}, {{42, 63}, {35, 63}},
                                         {{35, 63}, {35, 70}}}));
    EXPECT_EQ(c.Segments()[0].color, 0x808000u);  // size 1 uses pen 1

    v.PixelScale = 4;
    c = Painted(v);
    ASSERT_EQ(c.Texts().size(), 2u);
    EXPECT_EQ(c.Texts()[0].bytes, "A");
    EXPECT_EQ(c.Texts()[0].at, (PixelPoint{40, 72}));  // one height above the base point
    EXPECT_EQ(c.Texts()[1].at, (PixelPoint{44, 72}));
    EXPECT_EQ(c.Texts()[0].font.Height, -8);
    EXPECT_EQ(c.Texts()[0].font.Width, 4);
    EXPECT_EQ(c.Texts()[0].color, 0x808000u);
}

TEST(ViewerPaint, VerticalAndTurnedTextsTurnTheirGlyphs) {
    TJwObject d = FlatDrawing();
    d.AddText(20, -20, 20, -60, 0, 0, 4, "AB", true);  // downward base line, vertical writing
    d.AddText(100, -100, 110, -90, 0, 0, 4, "C", false);
    TJwBrws v;
    ShowAt(v, d, 4, 500, 500);
    const RecordingCanvas c = Painted(v);
    ASSERT_EQ(c.Texts().size(), 3u);
    EXPECT_EQ(c.Texts()[0].at, (PixelPoint{80, 80}));  // the base point itself
    EXPECT_EQ(c.Texts()[0].font.Escapement, 2700 + 900);
    EXPECT_EQ(c.Texts()[1].at, (PixelPoint{80, 89}));  // pitch (16 + 2) / 2 downward
    EXPECT_EQ(c.Texts()[2].font.Escapement, 450);
    EXPECT_EQ(c.Texts()[2].font.Orientation, 450);
    // D' = (0, -16) turned by 45°: (11.31, -11.31); R = (400 - 11.31, 400 - 11.31)
    EXPECT_EQ(c.Texts()[2].at, (PixelPoint{389, 389}));
}

TEST(ViewerPaint, TextCellsAndPitchTakeOddBytesAsTheyCome) {
    const struct {
        const char* text;
        int cells;
    } cells[] = {{"A^x", 3}, {"AB^o", 2} /* escape at the end: counting stops */,
                 {"\x83^", 2} /* the '^' is a trail byte */, {"A\x82", 2} /* a lead byte that ends the text */};
    for (const auto& c : cells) EXPECT_EQ(TextCells(c.text), c.cells) << c.text;
    EXPECT_EQ(TextPitch("\x83\xa5", 10, 2).Text, "\x83\xa5");  // 0xA5 as a trail byte is no dot
}

TEST(ViewerPaint, EscapesPlaceSmallAndOverlaidCharacters) {
    const struct {
        const char* text;
        std::size_t glyph;
        PixelPoint at;
        GlyphFont font;
    } cases[] = {
        {"A^uB", 1, {10, 0}, GlyphFont::SmallOneByte},  // raised, at the top of the next cell
        {"A^dB", 1, {10, 10}, GlyphFont::SmallOneByte},
        {"A^cB", 1, {10, 5}, GlyphFont::SmallOneByte},
        {"A^uBC", 2, {20, 0}, GlyphFont::Normal},       // one cell taken
        {"AB^oC", 2, {10, 5}, GlyphFont::SmallOneByte},  // where B starts, a quarter lower
        {"AB^oCD", 3, {20, 0}, GlyphFont::Normal},      // taking no room
        {"\x8a\xbf^b\x8e\x9a", 1, {8, 0}, GlyphFont::Normal},  // 1.2 cells back over 漢
        {"\x8a\xbf^o\x8e\x9a", 1, {5, 5}, GlyphFont::SmallTwoByte},  // 1.5 cells back
        {"AB^BC", 2, {12, 0}, GlyphFont::Normal},       // ^B: 0.75 cells back, 12.5 to even
        {"A^o^uB", 1, {10, 0}, GlyphFont::SmallOneByte},  // a later escape replaces
    };
    for (const auto& c : cases) {
        const auto glyph = LayoutGlyphs(c.text, {0, 0}, 0, 10, 20).at(c.glyph);
        EXPECT_EQ(glyph.At, c.at) << c.text;
        EXPECT_EQ(glyph.Font, c.font) << c.text;
    }
    EXPECT_EQ(LayoutGlyphs("A^", {0, 0}, 0, 10, 20).size(), 2u);
    // Turned a quarter: lowering moves right on screen, advancing moves up.
    EXPECT_EQ(LayoutGlyphs("A^dB", {0, 0}, kPi / 2, 10, 20)[1].At, (PixelPoint{10, -10}));
}

TEST(ViewerPaint, SmallFontsHalveTheHeight) {
    TJwObject d = FlatDrawing();
    d.AddText(10, -40, 40, -40, 0, 0, 4, "A^uB\x8a\xbf^d\x8e\x9a", false);
    TJwBrws v;
    ShowAt(v, d, 4);  // 16 pixels high and wide
    const RecordingCanvas c = Painted(v);
    std::vector<std::pair<int32_t, int32_t>> fonts;
    for (const DrawnText& t : c.Texts()) fonts.emplace_back(t.font.Height, t.font.Width);
    EXPECT_EQ(fonts, (std::vector<std::pair<int32_t, int32_t>>{{-16, 8}, {-8, 8}, {-16, 8}, {-8, 4}}));
}

TEST(ViewerPaint, OpenChoicesDrawSafely) {
    TJwObject d = FlatDrawing();
    d.AddLine(10, -10, 20, -10, 0, 0, 0, 0);     // pen 0, line type 0
    d.AddLine(10, -20, 20, -20, 0, 0, 12, 200);  // pen 200, line type 12
    d.AddText(10, -50, 40, -30, 0, 0, 4, "", false);
    d.AddText(10, -50, 40, -50, 0, 0, 0, "AB", false);   // no such text size
    d.AddText(10, -50, 40, -50, 0, 0, 11, "AB", false);
    d.LayerGroups[0].Scale = 0;
    TJwBrws v;
    ShowAt(v, d, 4);
    const RecordingCanvas c = Painted(v);
    using P = std::pair<PixelPoint, PixelPoint>;
    EXPECT_EQ(Pieces(c), (std::vector<P>{{{40, 40}, {80, 40}}, {{40, 80}, {80, 80}}}));  // scale 0 as 1
    for (const DrawnSegment& s : c.Segments()) EXPECT_EQ(s.color, 0u);  // black
    EXPECT_TRUE(c.Texts().empty());
}

TEST(ViewerPaint, HiddenEntitiesAreSkipped) {
    TJwObject d = FlatDrawing();
    d.AddLine(10, -10, 20, -10, 0, 0, 1, 1);
    d.AddLine(10, -20, 20, -20, 3, 1, 1, 1);
    d.AddDot(5, -5, 3, 1, 1);
    d.LayerGroups[1].Layers[3].Visible = false;
    d.AddLine(10, -30, 20, -30, 0, 2, 1, 1);
    d.LayerGroups[2].Visible = false;
    TJwBrws v;
    ShowAt(v, d, 1);
    const RecordingCanvas c = Painted(v);
    EXPECT_EQ(c.Segments().size(), 1u);
    EXPECT_TRUE(c.CallsOf(Op::SetPixel).empty());
}

TEST(ViewerPaint, SelectedEntitiesAreRedUnderADottedRectangle) {
    TJwObject d = FlatDrawing();
    d.AddSolid(10, -10, 30, -30, 0, 0, 0x00CCFFFF);
    d.Solids.push_back(d.Solids[0]);
    d.Solids[1].Count = 3;
    d.AddLine(10, -40, 20, -40, 0, 0, 1, 1);
    d.AddText(10, -60, 40, -60, 0, 0, 1, "AB", false);
    TJwBrws v;
    ShowAt(v, d, 3);  // size 1 texts are 6 pixels high: boxes
    v.Extent = {0, -100, 50, 0};
    RecordingCanvas c = Painted(v);
    EXPECT_EQ(c.CallsOf(Op::Polygon)[1].points.size(), 3u);
    EXPECT_EQ(c.CallsOf(Op::SetBrush)[0].color, 0x00CCFFFFu);

    v.SelectAll();
    c = Painted(v);
    EXPECT_EQ(v.HighlightMode, 3);
    ASSERT_EQ(c.CallsOf(Op::Rectangle).size(), 1u);
    EXPECT_EQ(c.CallsOf(Op::Rectangle)[0].rect, (PixelRect{0, 0, 150, 300}));
    EXPECT_EQ(c.CallsOf(Op::SetPen)[0].penStyle, PenStyle::Dot);
    EXPECT_EQ(c.CallsOf(Op::SetBrush)[0].color, 0xFFFFFFu);  // filled with the background
    EXPECT_EQ(c.CallsOf(Op::SetBrush)[1].color, kRed);        // the solid
    for (const DrawnSegment& s : c.Segments()) EXPECT_EQ(s.color, kRed);
    EXPECT_EQ(c.Segments().size(), 1u + 4u);  // the line and the text's box

    v.ClearSelection();
    c = Painted(v);
    EXPECT_EQ(v.HighlightMode, 0);
    EXPECT_NE(c.Segments()[0].color, kRed);
}

}  // namespace
}  // namespace tavo
