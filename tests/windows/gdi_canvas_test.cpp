// GdiCanvas on a DIB section under Wine: the mixes the viewer's feedback
// relies on, the platform's edges, and text from the logical-font record.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "win32/dib_surface.h"
#include "win32/gdi_canvas.h"

namespace tavo::win32 {
namespace {

constexpr WinColor kRed = 0x0000FF;
constexpr uint32_t kWhitePixel = 0xFFFFFF;

struct Surface {
    DibSurface dib;
    Surface(int w, int h) { dib.Resize(w, h); }
    uint32_t At(int x, int y) const { return dib.Pixels()[y * dib.Width() + x] & 0xFFFFFFu; }
    std::vector<uint32_t> All() const {
        const uint32_t* p = dib.Pixels();
        return std::vector<uint32_t>(p, p + dib.Width() * dib.Height());
    }
    void Draw(const std::function<void(Canvas&)>& paint) {
        GdiCanvas canvas(dib.Dc());
        paint(canvas);
    }
};

// A background of stripes in several colours, so that a mix that is not
// its own inverse shows.
void Stripes(Canvas& c) {
    const WinColor colours[] = {0xFFFFFF, 0x000000, 0x808000, 0xFF0080, 0x00FFFF};
    for (int i = 0; i < 40; ++i) c.FillRect({i * 2, 0, i * 2 + 2, 80}, colours[i % 5]);
}

TEST(GdiCanvas, FeedbackDrawnTwiceLeavesTheScreenAsItWas) {
    Picture icon{4, 2, {0x808000, 0x000000, 0x808000, 0x000000, 0, 0x808000, 0, 0x808000}};
    const struct {
        const char* name;
        std::function<void(Canvas&)> figure;
    } figures[] = {
        {"rubber band",
         [](Canvas& c) {
             c.SetPen(kRed, PenStyle::Dot, PenMix::NotXor);
             c.SetBrush(0, BrushStyle::Clear);
             c.Rectangle({5, 5, 60, 40});
         }},
        {"zoom window",
         [](Canvas& c) {
             c.SetPen(kRed, PenStyle::Solid, PenMix::NotXor);
             c.MoveTo(3, 70);
             c.LineTo(70, 3);
             c.LineTo(75, 75);
         }},
        {"gesture icon", [&](Canvas& c) { c.XorPicture(10, 10, icon); }},
    };
    for (const auto& f : figures) {
        Surface s(80, 80);
        s.Draw(Stripes);
        const std::vector<uint32_t> before = s.All();
        s.Draw(f.figure);
        EXPECT_NE(s.All(), before) << f.name << " drew nothing";
        s.Draw(f.figure);
        EXPECT_EQ(s.All(), before) << f.name;
    }
}

TEST(GdiCanvas, MixesAndEdgesAreThePlatforms) {
    Surface s(40, 40);
    s.Draw([](Canvas& c) {
        c.FillRect({10, 10, 20, 20}, 0x000000);
        c.SetPen(kRed, PenStyle::Solid, PenMix::NotXor);
        c.MoveTo(0, 15);
        c.LineTo(30, 15);  // across white, black, white; (30, 15) left out
        c.SetPen(0x008000, PenStyle::Solid, PenMix::Copy);
        c.SetBrush(0, BrushStyle::Clear);
        c.Rectangle({25, 25, 35, 30});
        c.XorPicture(0, 30, Picture{2, 1, {0x000000, 0xFFFFFF}});
        c.SetPixel(39, 39, 0x800000);
    });
    const struct {
        int x, y;
        uint32_t pixel;  // 0x00RRGGBB
        const char* why;
    } cases[] = {
        {5, 15, 0xFF0000, "not-xor red over white is red"},
        {15, 15, 0x00FFFF, "not-xor red over black is its complement"},
        {29, 15, 0xFF0000, "the line's last pixel but one"},
        {30, 15, kWhitePixel, "the line leaves out its end"},
        {10, 10, 0x000000, "a fill covers its left and top"},
        {19, 19, 0x000000, "and stops before right and bottom"},
        {20, 20, kWhitePixel, "right and bottom lie outside"},
        {34, 29, 0x008000, "a rectangle's outline ends inside right and bottom"},
        {35, 29, kWhitePixel, "not on them"},
        {30, 27, kWhitePixel, "a clear brush fills nothing"},
        {0, 30, kWhitePixel, "black in a picture leaves the screen"},
        {1, 30, 0x000000, "white in a picture inverts it"},
        {39, 39, 0x000080, "a pixel in navy"},
    };
    for (const auto& c : cases) EXPECT_EQ(s.At(c.x, c.y), c.pixel) << c.why << " at " << c.x << "," << c.y;
}

TEST(GdiCanvas, TextFromTheLogicalFontRecordInShiftJis) {
    Surface s(200, 100);
    LogicalFont font;
    font.Height = -20;
    font.CharSet = 128;
    font.FaceName = "\x82l\x82r \x83S\x83V\x83" "b\x83N";  // "ＭＳ ゴシック"
    s.Draw([&](Canvas& c) {
        c.SetFont(font);
        c.SetTextColor(0x800000);
        c.TextOut(10, 10, "\x83" "e\x83X\x83g AB");  // "テスト AB"
    });
    int left = 200, top = 100, right = -1, bottom = -1, navy = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            if (s.At(x, y) == kWhitePixel) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
            navy += s.At(x, y) == 0x000080;
        }
    ASSERT_GE(right, 0) << "no text drawn";
    // The cell's top-left at (10, 10): ink within one em below it and about
    // seven half-width cells to its right.
    EXPECT_GE(left, 10);
    EXPECT_GE(top, 10);
    EXPECT_LE(bottom, 10 + 20);
    EXPECT_GT(right - left, 50) << "three full-width characters, a blank and two letters";
    EXPECT_LT(right - left, 100);
    EXPECT_GT(navy, 0) << "in the text colour";
}

}  // namespace
}  // namespace tavo::win32
