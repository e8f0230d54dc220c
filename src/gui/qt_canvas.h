#pragma once

#include <QFont>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QString>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "viewer/canvas.h"

namespace tavo {

// The viewer's canvas on a QImage through QPainter: cosmetic one-pixel pens
// with flat caps (a line leaves out its last pixel), raster operations for
// the not-xor and xor mixes, no antialiasing. Text arrives as Shift-JIS
// bytes and is converted here; the face "ＭＳ ゴシック" shows as IPAGothic.
// Needs a QGuiApplication for its fonts.
class QtCanvas final : public Canvas {
public:
    explicit QtCanvas(QImage& image);
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
    struct FontEntry {
        QFont font;
        int ascent = 0;
    };
    const FontEntry& FontFor(const LogicalFont& f);
    const QString& TextFor(std::string_view bytes);
    void UseMix(PenMix mix);
    void ApplyPen();
    // Text draws with a pen of the text colour; lines need theirs back.
    void UseLinePen();

    QImage& image_;
    QPainter painter_;
    std::vector<QLine> pending_;  // consecutive lines with one pen
    QPoint position_;
    WinColor penColor_ = 0;
    PenStyle penStyle_ = PenStyle::Solid;
    PenMix penMix_ = PenMix::Copy;
    PenMix activeMix_ = PenMix::Copy;
    LogicalFont font_;
    const FontEntry* fontEntry_ = nullptr;
    WinColor textColor_ = 0;
    bool textPenActive_ = false;
    WinColor appliedTextColor_ = 0;
    const FontEntry* appliedFont_ = nullptr;
    std::map<std::tuple<int, int, std::string>, FontEntry> fonts_;
    std::unordered_map<std::string, QString> texts_;
    std::map<const Picture*, QImage> pictures_;
};

// The Qt colour of a Windows colour value.
QColor ToQColor(WinColor c);

}  // namespace tavo
