#pragma once

#include <map>
#include <tuple>
#include <utility>

#include "viewer/canvas.h"

struct HDC__;

namespace tavo::win32 {

// The viewer's canvas on a GDI device context: cosmetic pens of one pixel
// (PS_DOT for the dotted one), the R2_NOTXORPEN mix, solid and hollow
// brushes, fonts made with CreateFontIndirectA from the viewer's
// logical-font record, TextOutA with the Shift-JIS bytes on a transparent
// background, PatBlt for fills and an SRCINVERT copy for the xor pictures.
// The pens, brushes and fonts it makes live as long as it does; the
// context gets its own objects and modes back at the end.
class GdiCanvas final : public Canvas {
public:
    explicit GdiCanvas(HDC__* dc);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

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

private:
    void* PenOf(WinColor color, PenStyle style);
    void* BrushOf(WinColor color);

    HDC__* dc_;
    // What the context held before, given back at the end.
    void* oldPen_ = nullptr;
    void* oldBrush_ = nullptr;
    void* oldFont_ = nullptr;
    int oldRop_ = 0, oldBkMode_ = 0, oldFillMode_ = 0;
    unsigned long oldTextColor_ = 0;
    std::map<std::pair<WinColor, PenStyle>, void*> pens_;
    std::map<WinColor, void*> brushes_;
    std::map<std::tuple<int32_t, int32_t, int32_t, int32_t, uint8_t, std::string>, void*> fonts_;
};

}  // namespace tavo::win32
