#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/jw_object.h"
#include "viewer/canvas.h"
#include "viewer/jw_brws.h"
#include "viewer/recording_canvas.h"

namespace tavo::test {

// The canvas of the build's front end on a white picture of width x height;
// `paint` draws on it, and the pixels come back as 0x00RRGGBB, rows from
// the top. Defined once per front end (QtCanvas, GdiCanvas).
std::vector<uint32_t> PaintOnSurface(int32_t width, int32_t height, const std::function<void(Canvas&)>& paint);

// Hands every call on but the texts, so that front ends whose fonts differ
// can still be compared pixel for pixel.
class Textless final : public Canvas {
public:
    explicit Textless(Canvas& to) : to_(to) {}
    void SetPen(WinColor c, PenStyle s, PenMix m) override { to_.SetPen(c, s, m); }
    void SetBrush(WinColor c, BrushStyle s) override { to_.SetBrush(c, s); }
    void SetFont(const LogicalFont& f) override { to_.SetFont(f); }
    void SetTextColor(WinColor c) override { to_.SetTextColor(c); }
    void FillRect(const PixelRect& r, WinColor c) override { to_.FillRect(r, c); }
    void MoveTo(int32_t x, int32_t y) override { to_.MoveTo(x, y); }
    void LineTo(int32_t x, int32_t y) override { to_.LineTo(x, y); }
    void Polygon(const std::vector<PixelPoint>& p) override { to_.Polygon(p); }
    void Rectangle(const PixelRect& r) override { to_.Rectangle(r); }
    void Ellipse(const PixelRect& b) override { to_.Ellipse(b); }
    void Arc(const PixelRect& b, PixelPoint s, PixelPoint e) override { to_.Arc(b, s, e); }
    void SetPixel(int32_t x, int32_t y, WinColor c) override { to_.SetPixel(x, y, c); }
    void TextOut(int32_t, int32_t, std::string_view) override {}
    void XorPicture(int32_t x, int32_t y, const Picture& p) override { to_.XorPicture(x, y, p); }

private:
    Canvas& to_;
};

// The calls of the preview's paint of the drawing, the paper fitted to
// width x height.
inline RecordingCanvas PaintedAsThePreview(TJwObject& drawing, int32_t width, int32_t height) {
    TJwBrws viewer;
    viewer.Drawing = &drawing;
    viewer.SetSize(width, height);
    viewer.FitPaper();
    RecordingCanvas calls;
    viewer.Paint(calls);
    return calls;
}

// Pixels of PaintOnSurface as a binary PPM file.
inline void WritePpm(const std::string& path, int32_t width, int32_t height, const std::vector<uint32_t>& pixels) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (const uint32_t p : pixels) {
        const char rgb[3] = {char((p >> 16) & 0xFF), char((p >> 8) & 0xFF), char(p & 0xFF)};
        out.write(rgb, 3);
    }
    if (!out) throw std::runtime_error("cannot write " + path);
}

// The calls replayed on the front end's canvas without their texts, as a
// PPM file.
inline void WriteTextlessPpm(const std::string& path, int32_t width, int32_t height, const RecordingCanvas& calls) {
    WritePpm(path, width, height, PaintOnSurface(width, height, [&](Canvas& c) {
                 Textless textless(c);
                 calls.Replay(textless);
             }));
}


}  // namespace tavo::test
