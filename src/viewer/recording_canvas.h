#pragma once

#include <string>
#include <vector>

#include "viewer/canvas.h"

namespace tavo {

// One call made on a canvas, with its arguments.
struct CanvasCall {
    enum class Op {
        SetPen, SetBrush, SetFont, SetTextColor, FillRect, MoveTo, LineTo, Polygon, Rectangle, Ellipse, Arc,
        SetPixel, TextOut, XorPicture
    };
    Op op = Op::MoveTo;
    WinColor color = 0;                      // SetPen, SetBrush, SetTextColor, FillRect, SetPixel
    PenStyle penStyle = PenStyle::Solid;     // SetPen
    PenMix penMix = PenMix::Copy;            // SetPen
    BrushStyle brushStyle = BrushStyle::Solid;  // SetBrush
    PixelRect rect;                          // FillRect, Rectangle, Ellipse, Arc
    std::vector<PixelPoint> points;          // the point(s): MoveTo, LineTo, SetPixel, TextOut,
                                             // XorPicture, Polygon; Arc: start, end
    LogicalFont font;                        // SetFont
    std::string text;                        // TextOut
    const Picture* picture = nullptr;        // XorPicture
};

// A line drawn by MoveTo/LineTo, with the pen it was drawn with.
struct DrawnSegment {
    PixelPoint from, to;
    WinColor color = 0;
    PenStyle style = PenStyle::Solid;
    PenMix mix = PenMix::Copy;
};

// A text output with the font and colour selected at the time.
struct DrawnText {
    PixelPoint at;
    std::string bytes;
    LogicalFont font;
    WinColor color = 0;
};

// A canvas that keeps every call, for tests and for replaying a paint into
// another canvas.
class RecordingCanvas final : public Canvas {
public:
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

    const std::vector<CanvasCall>& Calls() const { return calls_; }
    std::vector<CanvasCall> CallsOf(CanvasCall::Op op) const;
    const std::vector<DrawnSegment>& Segments() const { return segments_; }
    const std::vector<DrawnText>& Texts() const { return texts_; }
    void Clear();
    // Makes the same calls on another canvas.
    void Replay(Canvas& target) const;

private:
    CanvasCall& add(CanvasCall::Op op);

    std::vector<CanvasCall> calls_;
    std::vector<DrawnSegment> segments_;
    std::vector<DrawnText> texts_;
    PixelPoint position_;
    DrawnSegment pen_;
    LogicalFont font_;
    WinColor textColor_ = 0;
};

}  // namespace tavo
