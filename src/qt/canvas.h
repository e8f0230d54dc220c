#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QRawFont>
#include <QString>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "qt/pixel_raster.h"
#include "viewer/canvas.h"

namespace tavo {

// What a QtCanvas works out once and may keep from one paint to the next:
// fonts from logical-font records and texts converted from Shift-JIS and
// laid out as glyphs.
class QtCanvasCache {
public:
    struct Font {
        QFont font;
        QRawFont raw;
        double stretch = 1;  // horizontal scale to the asked character width
        double ascent = 0;
    };
    struct Text {
        QString string;
        QGlyphRun glyphs;
        bool allGlyphs = false;  // false: the face lacks some, let Qt fall back
    };
    // A text drawn once in a font and direction: its coverage, and where
    // its top-left pixel lies from the point the text is drawn at.
    struct Sprite {
        QImage mask;  // alpha is coverage
        QPoint offset;
    };

    const Font& FontFor(const LogicalFont& font);
    const Text& TextFor(const Font& font, std::string_view bytes);
    const Sprite& SpriteFor(const Font& font, int escapement, std::string_view bytes);

private:
    std::map<std::tuple<int, int, std::string>, Font> fonts_;
    std::map<std::pair<const Font*, std::string>, Text> texts_;
    std::map<std::tuple<const Font*, int, std::string>, Sprite> sprites_;
};

// The viewer's canvas on a 32-bit QImage: cosmetic one-pixel pens (a line
// leaves out its last pixel), raster operations for the not-xor and xor
// mixes, no antialiasing but for text. Solid lines, outlines, pixels and
// text in the copy mix are written straight into the pixels (PixelRaster),
// text from coverage masks drawn once per text, font and direction; the
// rest goes through QPainter. Text arrives as Shift-JIS bytes and is
// converted here; the face "ＭＳ ゴシック" shows as IPAGothic. Needs a
// QGuiApplication for its fonts.
class QtCanvas final : public Canvas {
public:
    // With a cache of its own, or one kept by the caller across paints.
    explicit QtCanvas(QImage& image);
    QtCanvas(QImage& image, QtCanvasCache& cache);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    void SetPen(WinColor color, PenStyle style, PenMix mix) override;
    void SetBrush(WinColor color, BrushStyle style) override;
    void SetFont(const LogicalFont& font) override;
    void SetTextColor(WinColor color) override;
    void FillRect(const PixelRect& rect, WinColor color) override;
    void MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Polygon(const std::vector<PixelPoint>& points) override;
    void Rectangle(const PixelRect& rect) override;
    void Ellipse(const PixelRect& box) override;
    void Arc(const PixelRect& box, PixelPoint start, PixelPoint end) override;
    void SetPixel(int32_t x, int32_t y, WinColor color) override;
    void TextOut(int32_t x, int32_t y, std::string_view bytes) override;
    void XorPicture(int32_t x, int32_t y, const Picture& picture) override;

    // Draws the lines still held back; the destructor does it too.
    void Flush();

private:
    void UseMix(PenMix mix);
    void ApplyPen();
    // The pen draws straight into the pixels: solid, in the copy mix.
    bool PlainPen() const { return penMix_ == PenMix::Copy && penStyle_ == PenStyle::Solid; }

    QtCanvasCache ownCache_;
    QtCanvasCache& cache_;
    PixelRaster raster_;  // before the painter, which must not see the image detach
    QPainter painter_;
    std::vector<QLine> pending_;  // consecutive lines with one pen
    QPoint position_;
    WinColor penColor_ = 0;
    QRgb penRgb_ = qRgb(0, 0, 0);
    bool clearBrush_ = true;
    PenStyle penStyle_ = PenStyle::Solid;
    PenMix penMix_ = PenMix::Copy;
    PenMix activeMix_ = PenMix::Copy;
    LogicalFont font_;
    const QtCanvasCache::Font* fontEntry_ = nullptr;
    WinColor textColor_ = 0;
};

// The Qt colour of a Windows colour value.
QColor ToQColor(WinColor c);

}  // namespace tavo
