// render_ppm IN.jwc OUT WxH: paints the drawing as the preview does, the
// paper fitted to WxH, on the front end's canvas; writes OUT.ppm, and
// OUT-notext.ppm painted with every text left out, so that front ends whose
// fonts differ can still be compared pixel for pixel.
#include "render_ppm.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_reader.h"
#include "viewer/jw_brws.h"
#include "viewer/recording_canvas.h"

namespace {

// Hands every call on but the texts.
class Textless final : public tavo::Canvas {
public:
    explicit Textless(tavo::Canvas& to) : to_(to) {}
    void SetPen(tavo::WinColor c, tavo::PenStyle s, tavo::PenMix m) override { to_.SetPen(c, s, m); }
    void SetBrush(tavo::WinColor c, tavo::BrushStyle s) override { to_.SetBrush(c, s); }
    void SetFont(const tavo::LogicalFont& f) override { to_.SetFont(f); }
    void SetTextColor(tavo::WinColor c) override { to_.SetTextColor(c); }
    void FillRect(const tavo::PixelRect& r, tavo::WinColor c) override { to_.FillRect(r, c); }
    void MoveTo(int32_t x, int32_t y) override { to_.MoveTo(x, y); }
    void LineTo(int32_t x, int32_t y) override { to_.LineTo(x, y); }
    void Polygon(const std::vector<tavo::PixelPoint>& p) override { to_.Polygon(p); }
    void Rectangle(const tavo::PixelRect& r) override { to_.Rectangle(r); }
    void Ellipse(const tavo::PixelRect& b) override { to_.Ellipse(b); }
    void Arc(const tavo::PixelRect& b, tavo::PixelPoint s, tavo::PixelPoint e) override { to_.Arc(b, s, e); }
    void SetPixel(int32_t x, int32_t y, tavo::WinColor c) override { to_.SetPixel(x, y, c); }
    void TextOut(int32_t, int32_t, std::string_view) override {}
    void XorPicture(int32_t x, int32_t y, const tavo::Picture& p) override { to_.XorPicture(x, y, p); }

private:
    tavo::Canvas& to_;
};

void WritePpm(const std::string& path, int32_t width, int32_t height, const std::vector<uint32_t>& pixels) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (const uint32_t p : pixels) {
        const char rgb[3] = {char((p >> 16) & 0xFF), char((p >> 8) & 0xFF), char(p & 0xFF)};
        out.write(rgb, 3);
    }
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_ppm IN.jwc OUT WxH\n");
        return 2;
    }
    try {
        int32_t width = 0, height = 0;
        if (std::sscanf(argv[3], "%dx%d", &width, &height) != 2 || width < 1 || height < 1) return 2;
        tavo::TJwcFile file;
        tavo::LoadJwcFile(file, argv[1]);
        tavo::TJwObject drawing;
        tavo::ImportJwc(file, drawing);
        tavo::TJwBrws viewer;
        viewer.Drawing = &drawing;
        viewer.SetSize(width, height);
        viewer.FitPaper();
        tavo::RecordingCanvas calls;
        viewer.Paint(calls);
        const std::string out = argv[2];
        WritePpm(out + ".ppm", width, height,
                 tavo::test::PaintOnSurface(width, height, [&](tavo::Canvas& c) { calls.Replay(c); }));
        WritePpm(out + "-notext.ppm", width, height,
                 tavo::test::PaintOnSurface(width, height, [&](tavo::Canvas& c) {
                     Textless textless(c);
                     calls.Replay(textless);
                 }));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "render_ppm: %s\n", e.what());
        return 1;
    }
}
