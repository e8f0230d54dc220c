#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// A Windows colour value: red in the lowest byte, then green, then blue.
using WinColor = uint32_t;

struct PixelPoint {
    int32_t x = 0, y = 0;
    bool operator==(const PixelPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const PixelPoint& o) const { return !(*this == o); }
};

// Client pixels; right and bottom lie just outside what a fill covers.
struct PixelRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

enum class PenStyle : uint8_t { Solid, Dot };
// Copy sets the pen colour; NotXor sets NOT(pen XOR screen), so drawing the
// same figure twice restores the screen.
enum class PenMix : uint8_t { Copy, NotXor };
enum class BrushStyle : uint8_t { Solid, Clear };

// The fields of the platform's logical-font record that the viewer fills;
// the others are zero.
struct LogicalFont {
    int32_t Height = 0;       // negative: character (em) height in pixels
    int32_t Width = 0;        // average character width; 0 keeps the face's own
    int32_t Escapement = 0;   // tenths of a degree, counter-clockwise
    int32_t Orientation = 0;
    uint8_t CharSet = 0;      // 128 is Shift-JIS
    std::string FaceName;     // Shift-JIS bytes
    bool operator==(const LogicalFont& o) const {
        return Height == o.Height && Width == o.Width && Escapement == o.Escapement &&
               Orientation == o.Orientation && CharSet == o.CharSet && FaceName == o.FaceName;
    }
};

// A small picture for the xor copy, rows from the top.
struct Picture {
    int32_t Width = 0, Height = 0;
    std::vector<WinColor> Pixels;
};

// The drawing surface the viewer paints on, with the device-context calls
// it needs. Pens are cosmetic and one pixel wide.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void SetPen(WinColor color, PenStyle style, PenMix mix) = 0;
    virtual void SetBrush(WinColor color, BrushStyle style) = 0;
    virtual void SetFont(const LogicalFont& font) = 0;
    virtual void SetTextColor(WinColor color) = 0;

    // Fills with a solid colour, no outline, whatever the brush.
    virtual void FillRect(const PixelRect& rect, WinColor color) = 0;
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    // From the current position to (x, y), leaving out (x, y) itself.
    virtual void LineTo(int32_t x, int32_t y) = 0;
    // Outlined with the pen, filled with the brush (even-odd).
    virtual void Polygon(const std::vector<PixelPoint>& points) = 0;
    virtual void Rectangle(const PixelRect& rect) = 0;
    // Ellipse and arc by their bounding box; the arc runs counter-clockwise
    // from the ray toward `start` to the ray toward `end`.
    virtual void Ellipse(const PixelRect& box) = 0;
    virtual void Arc(const PixelRect& box, PixelPoint start, PixelPoint end) = 0;
    virtual void SetPixel(int32_t x, int32_t y, WinColor color) = 0;
    // Places the top-left corner of the first character cell at (x, y).
    virtual void TextOut(int32_t x, int32_t y, std::string_view bytes) = 0;
    // Each pixel becomes picture XOR screen; black leaves the screen as it is.
    virtual void XorPicture(int32_t x, int32_t y, const Picture& picture) = 0;
};

}  // namespace tavo
