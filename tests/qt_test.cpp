// QtCanvas: the pixels the viewer's drawing calls set on a QImage.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "export/jw_object.h"
#include "qt/control_image.h"
#include "qt/offscreen_gui.h"
#include "qt/pixel_raster.h"
#include "qt/canvas.h"
#include "viewer/gesture_icons.h"
#include "viewer/jw_brws.h"

namespace tavo {
namespace {

constexpr WinColor kBlack = 0x000000;

void EnsureGui() { static OffscreenGui gui; }

QImage White(int w, int h) {
    EnsureGui();
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool IsWhite(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(255, 255, 255); }

// The bounding box of the pixels that are not white; empty when none.
QRect Inked(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!IsWhite(image, x, y)) box = box.united(QRect(x, y, 1, 1));
    return box;
}

TEST(QtCanvas, LinesLeaveOutTheirLastPixel) {
    QImage image = White(30, 30);
    {
        QtCanvas c(image);
        c.SetPen(kBlack, PenStyle::Solid, PenMix::Copy);
        c.MoveTo(2, 5);
        c.LineTo(12, 5);
        c.MoveTo(20, 2);
        c.LineTo(20, 9);
        c.LineTo(25, 9);  // continues from the current position
        c.MoveTo(3, 20);
        c.LineTo(3, 20);  // no length: nothing
    }
    for (int x = 2; x <= 11; ++x) EXPECT_FALSE(IsWhite(image, x, 5)) << x;
    EXPECT_TRUE(IsWhite(image, 12, 5));
    EXPECT_TRUE(IsWhite(image, 1, 5));
    EXPECT_FALSE(IsWhite(image, 20, 2));
    EXPECT_FALSE(IsWhite(image, 20, 9));  // drawn as the start of the next line
    EXPECT_TRUE(IsWhite(image, 25, 9));
    EXPECT_TRUE(IsWhite(image, 3, 20));
    EXPECT_EQ(image.pixel(4, 5), qRgb(0, 0, 0));
}

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

TEST(QtCanvas, ColoursAreWindowsValuesRedInTheLowestByte) {
    QImage image = White(10, 10);
    {
        QtCanvas c(image);
        c.SetPixel(1, 1, 0x0000FF);
        c.FillRect({4, 4, 6, 6}, 0x808000);
    }
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(4, 4), qRgb(0, 128, 128));
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 128, 128));
    EXPECT_TRUE(IsWhite(image, 6, 6));  // right and bottom lie outside
    EXPECT_EQ(Inked(image), QRect(1, 1, 5, 5));
}

TEST(QtCanvas, FiguresStayInsideTheirBox) {
    QImage image = White(40, 40);
    {
        QtCanvas c(image);
        c.SetPen(kBlack, PenStyle::Solid, PenMix::Copy);
        c.SetBrush(0, BrushStyle::Clear);
        c.Ellipse({0, 0, 11, 11});
        c.Rectangle({20, 20, 30, 25});
    }
    EXPECT_FALSE(IsWhite(image, 0, 5));
    EXPECT_FALSE(IsWhite(image, 10, 5));
    EXPECT_TRUE(IsWhite(image, 11, 5));
    EXPECT_TRUE(IsWhite(image, 5, 5));  // a clear brush leaves the inside
    EXPECT_FALSE(IsWhite(image, 29, 24));
    EXPECT_TRUE(IsWhite(image, 30, 24));
    EXPECT_TRUE(IsWhite(image, 29, 25));
    EXPECT_EQ(Inked(image), QRect(0, 0, 11, 11).united(QRect(20, 20, 10, 5)));
}

TEST(QtCanvas, ArcsRunCounterClockwiseBetweenTheRays) {
    QImage image = White(50, 50);
    {
        QtCanvas c(image);
        c.SetPen(kBlack, PenStyle::Solid, PenMix::Copy);
        c.Arc({5, 5, 46, 46}, {45, 25}, {25, 5});  // the upper-right quarter
    }
    const QRect ink = Inked(image);
    EXPECT_GE(ink.left(), 23);
    EXPECT_LE(ink.bottom(), 27);
    EXPECT_GT(ink.width(), 15);
}

TEST(QtCanvas, NotXorAndXorDrawingsUndoThemselves) {
    QImage image = White(120, 120);
    {
        QtCanvas c(image);
        c.SetPen(0x008000, PenStyle::Solid, PenMix::Copy);
        c.SetBrush(0x008000, BrushStyle::Solid);
        c.Polygon({{10, 10}, {90, 20}, {40, 100}});
    }
    const QImage before = image.copy();
    const Picture icon = LoadGestureIcon(GestureIcon::ZoomOut);
    for (int pass = 0; pass < 2; ++pass) {
        {
            QtCanvas c(image);
            c.SetPen(0x0000FF, PenStyle::Dot, PenMix::NotXor);
            c.SetBrush(0, BrushStyle::Clear);
            c.Rectangle({5, 5, 100, 80});
            c.SetPen(0x0000FF, PenStyle::Solid, PenMix::NotXor);
            c.MoveTo(0, 50);
            c.LineTo(110, 60);
            c.XorPicture(60, 60, icon);
        }
        if (pass == 0) {
            EXPECT_NE(image, before);
            // white XOR teal; NOT(red XOR white) = red
            EXPECT_EQ(image.pixel(60 + 11, 60 + 0), qRgb(255, 127, 127));
            int red = 0, gaps = 0;  // along the dotted top edge
            for (int x = 5; x < 100; ++x) {
                red += image.pixel(x, 5) == qRgb(255, 0, 0);
                gaps += IsWhite(image, x, 5);
            }
            EXPECT_GT(red, 30);
            EXPECT_GT(gaps, 30);
        }
    }
    EXPECT_EQ(image, before);
}

TEST(QtCanvas, TextIsShiftJisInIpaGothicFromItsTopLeft) {
    QImage image = White(120, 120);
    LogicalFont font;
    font.Height = -20;
    font.Width = 10;
    font.CharSet = 128;
    font.FaceName = kMojiFontName;
    {
        QtCanvas c(image);
        c.SetTextColor(0x0000FF);
        c.SetFont(font);
        c.TextOut(10, 10, "\x8a\xbf");  // 漢
        font.Escapement = font.Orientation = 900;
        c.SetFont(font);
        c.TextOut(60, 100, "\x8e\x9a");  // 字, turned a quarter counter-clockwise
    }
    QFont probe(QString::fromUtf8("ＭＳ ゴシック"));
    probe.setPixelSize(20);
    EXPECT_EQ(QFontInfo(probe).family(), QStringLiteral("IPAGothic"));
    const QRect upright = Inked(image.copy(0, 0, 50, 50));
    EXPECT_GE(upright.left(), 10);
    EXPECT_GE(upright.top(), 10);
    EXPECT_LE(upright.right(), 31);
    EXPECT_LE(upright.bottom(), 32);
    EXPECT_GT(upright.width(), 12);
    const QRect turned = Inked(image.copy(50, 50, 70, 70)).translated(50, 50);
    EXPECT_GE(turned.left(), 60);
    EXPECT_LE(turned.bottom(), 101);
    EXPECT_GE(turned.top(), 75);
    EXPECT_LE(turned.right(), 84);
    bool red = false;
    for (int y = upright.top(); y <= upright.bottom(); ++y)
        for (int x = upright.left(); x <= upright.right(); ++x)
            red = red || (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 60);
    EXPECT_TRUE(red);
}

TEST(QtCanvas, TheControlPaintsADrawingOntoAnImageOfItsSize) {
    EnsureGui();
    TJwObject d;
    d.PlotSize = 3;
    d.AddLine(0, 0, 42000, 29698, 0, 0, 1, 2);  // corner to corner at 1:100
    d.AddText(1000, 20000, 2000, 20000, 0, 0, 5, "\x8e\x9a", false);
    TJwBrws v;
    v.SetSize(420, 297);
    v.Drawing = &d;
    v.FitPaper();
    const QImage image = PaintControlImage(v);
    EXPECT_EQ(image.size(), QSize(420, 297));
    EXPECT_FALSE(IsWhite(image, 210, 148));
    EXPECT_EQ(image.pixel(210, 148), qRgb(0, 0, 0));
    EXPECT_TRUE(IsWhite(image, 300, 20));
    v.SelectAll();
    const QImage selected = PaintControlImage(v);
    EXPECT_EQ(selected.pixel(210, 148), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace tavo
