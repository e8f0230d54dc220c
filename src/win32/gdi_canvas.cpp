#include "win32/gdi_canvas.h"

#include <algorithm>
#include <cstring>

#include "win32/dib_surface.h"
#include "win32/windows_api.h"

namespace tavo::win32 {

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc) {
    oldPen_ = SelectObject(dc_, GetStockObject(BLACK_PEN));
    oldBrush_ = SelectObject(dc_, GetStockObject(NULL_BRUSH));
    oldFont_ = GetCurrentObject(dc_, OBJ_FONT);
    oldRop_ = SetROP2(dc_, R2_COPYPEN);
    // Gaps of dotted lines and the cells around characters keep what lies
    // under them.
    oldBkMode_ = SetBkMode(dc_, TRANSPARENT);
    oldFillMode_ = SetPolyFillMode(dc_, ALTERNATE);
    oldTextColor_ = ::SetTextColor(dc_, 0);
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

GdiCanvas::~GdiCanvas() {
    SelectObject(dc_, static_cast<HGDIOBJ>(oldPen_));
    SelectObject(dc_, static_cast<HGDIOBJ>(oldBrush_));
    SelectObject(dc_, static_cast<HGDIOBJ>(oldFont_));
    SetROP2(dc_, oldRop_);
    SetBkMode(dc_, oldBkMode_);
    SetPolyFillMode(dc_, oldFillMode_);
    ::SetTextColor(dc_, oldTextColor_);
    for (const auto& p : pens_) DeleteObject(static_cast<HGDIOBJ>(p.second));
    for (const auto& b : brushes_) DeleteObject(static_cast<HGDIOBJ>(b.second));
    for (const auto& f : fonts_) DeleteObject(static_cast<HGDIOBJ>(f.second));
}

void* GdiCanvas::PenOf(WinColor color, PenStyle style) {
    const auto key = std::make_pair(color, style);
    auto it = pens_.find(key);
    if (it != pens_.end()) return it->second;
    // Width 0: the cosmetic one-pixel pen, whatever the mapping.
    HPEN pen = CreatePen(style == PenStyle::Dot ? PS_DOT : PS_SOLID, 0, color);
    if (!pen) return GetStockObject(BLACK_PEN);
    return pens_.emplace(key, pen).first->second;
}

void* GdiCanvas::BrushOf(WinColor color) {
    auto it = brushes_.find(color);
    if (it != brushes_.end()) return it->second;
    HBRUSH brush = CreateSolidBrush(color);
    if (!brush) return GetStockObject(BLACK_BRUSH);
    return brushes_.emplace(color, brush).first->second;
}

void GdiCanvas::SetPen(WinColor color, PenStyle style, PenMix mix) {
    SelectObject(dc_, static_cast<HGDIOBJ>(PenOf(color, style)));
    SetROP2(dc_, mix == PenMix::NotXor ? R2_NOTXORPEN : R2_COPYPEN);
}

void GdiCanvas::SetBrush(WinColor color, BrushStyle style) {
    SelectObject(dc_, style == BrushStyle::Clear ? GetStockObject(NULL_BRUSH) : static_cast<HGDIOBJ>(BrushOf(color)));
}

void GdiCanvas::SetFont(const LogicalFont& font) {
    const auto key = std::make_tuple(font.Height, font.Width, font.Escapement, font.Orientation, font.CharSet,
                                     font.FaceName);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        LOGFONTA record{};
        record.lfHeight = font.Height;
        record.lfWidth = font.Width;
        record.lfEscapement = font.Escapement;
        record.lfOrientation = font.Orientation;
        record.lfCharSet = font.CharSet;
        // The face name's bytes, cut to what the record holds.
        std::memcpy(&record.lfFaceName[0], font.FaceName.data(),
                    std::min(font.FaceName.size(), sizeof record.lfFaceName - 1));
        HFONT made = CreateFontIndirectA(&record);
        if (!made) return;  // the context's font stays
        it = fonts_.emplace(key, made).first;
    }
    SelectObject(dc_, static_cast<HGDIOBJ>(it->second));
}

void GdiCanvas::SetTextColor(WinColor color) { ::SetTextColor(dc_, color); }

void GdiCanvas::FillRect(const PixelRect& r, WinColor color) {
    HGDIOBJ before = SelectObject(dc_, static_cast<HGDIOBJ>(BrushOf(color)));
    PatBlt(dc_, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
    SelectObject(dc_, before);
}

void GdiCanvas::MoveTo(int32_t x, int32_t y) { MoveToEx(dc_, x, y, nullptr); }

void GdiCanvas::LineTo(int32_t x, int32_t y) { ::LineTo(dc_, x, y); }

void GdiCanvas::Polygon(const std::vector<PixelPoint>& points) {
    std::vector<POINT> gdi;
    gdi.reserve(points.size());
    for (const PixelPoint& p : points) gdi.push_back({p.x, p.y});
    ::Polygon(dc_, gdi.data(), static_cast<int>(gdi.size()));
}

void GdiCanvas::Rectangle(const PixelRect& r) { ::Rectangle(dc_, r.left, r.top, r.right, r.bottom); }

void GdiCanvas::Ellipse(const PixelRect& b) { ::Ellipse(dc_, b.left, b.top, b.right, b.bottom); }

void GdiCanvas::Arc(const PixelRect& b, PixelPoint start, PixelPoint end) {
    SetArcDirection(dc_, AD_COUNTERCLOCKWISE);
    ::Arc(dc_, b.left, b.top, b.right, b.bottom, start.x, start.y, end.x, end.y);
}

void GdiCanvas::SetPixel(int32_t x, int32_t y, WinColor color) { SetPixelV(dc_, x, y, color); }

void GdiCanvas::TextOut(int32_t x, int32_t y, std::string_view bytes) {
    ::TextOutA(dc_, x, y, bytes.data(), static_cast<int>(bytes.size()));
}

void GdiCanvas::XorPicture(int32_t x, int32_t y, const Picture& picture) {
    if (picture.Width <= 0 || picture.Height <= 0) return;
    const std::vector<uint32_t> pixels = DibPixelsOf(picture);
    const BITMAPINFO info = DibInfo(picture.Width, picture.Height);
    StretchDIBits(dc_, x, y, picture.Width, picture.Height, 0, 0, picture.Width, picture.Height, pixels.data(), &info,
                  DIB_RGB_COLORS, SRCINVERT);
}

}  // namespace tavo::win32
