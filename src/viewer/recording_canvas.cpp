#include "viewer/recording_canvas.h"

namespace tavo {

CanvasCall& RecordingCanvas::add(CanvasCall::Op op) {
    calls_.emplace_back();
    calls_.back().op = op;
    return calls_.back();
}

void RecordingCanvas::SetPen(WinColor color, PenStyle style, PenMix mix) {
    CanvasCall& c = add(CanvasCall::Op::SetPen);
    c.color = color;
    c.penStyle = style;
    c.penMix = mix;
    pen_.color = color;
    pen_.style = style;
    pen_.mix = mix;
}

void RecordingCanvas::SetBrush(WinColor color, BrushStyle style) {
    CanvasCall& c = add(CanvasCall::Op::SetBrush);
    c.color = color;
    c.brushStyle = style;
}

void RecordingCanvas::SetFont(const LogicalFont& font) {
    add(CanvasCall::Op::SetFont).font = font;
    font_ = font;
}

void RecordingCanvas::SetTextColor(WinColor color) {
    add(CanvasCall::Op::SetTextColor).color = color;
    textColor_ = color;
}

void RecordingCanvas::FillRect(const PixelRect& r, WinColor color) {
    CanvasCall& c = add(CanvasCall::Op::FillRect);
    c.rect = r;
    c.color = color;
}

void RecordingCanvas::MoveTo(int32_t x, int32_t y) {
    add(CanvasCall::Op::MoveTo).points = {{x, y}};
    position_ = {x, y};
}

void RecordingCanvas::LineTo(int32_t x, int32_t y) {
    add(CanvasCall::Op::LineTo).points = {{x, y}};
    DrawnSegment s = pen_;
    s.from = position_;
    s.to = {x, y};
    segments_.push_back(s);
    position_ = {x, y};
}

void RecordingCanvas::Polygon(const std::vector<PixelPoint>& points) { add(CanvasCall::Op::Polygon).points = points; }

void RecordingCanvas::Rectangle(const PixelRect& r) { add(CanvasCall::Op::Rectangle).rect = r; }

void RecordingCanvas::Ellipse(const PixelRect& box) { add(CanvasCall::Op::Ellipse).rect = box; }

void RecordingCanvas::Arc(const PixelRect& box, PixelPoint start, PixelPoint end) {
    CanvasCall& c = add(CanvasCall::Op::Arc);
    c.rect = box;
    c.points = {start, end};
}

void RecordingCanvas::SetPixel(int32_t x, int32_t y, WinColor color) {
    CanvasCall& c = add(CanvasCall::Op::SetPixel);
    c.points = {{x, y}};
    c.color = color;
}

void RecordingCanvas::TextOut(int32_t x, int32_t y, std::string_view bytes) {
    CanvasCall& c = add(CanvasCall::Op::TextOut);
    c.points = {{x, y}};
    c.text = std::string(bytes);
    texts_.push_back({{x, y}, c.text, font_, textColor_});
}

void RecordingCanvas::XorPicture(int32_t x, int32_t y, const Picture& picture) {
    CanvasCall& c = add(CanvasCall::Op::XorPicture);
    c.points = {{x, y}};
    c.picture = &picture;
}

std::vector<CanvasCall> RecordingCanvas::CallsOf(CanvasCall::Op op) const {
    std::vector<CanvasCall> out;
    for (const CanvasCall& c : calls_)
        if (c.op == op) out.push_back(c);
    return out;
}

void RecordingCanvas::Clear() {
    calls_.clear();
    segments_.clear();
    texts_.clear();
}

void RecordingCanvas::Replay(Canvas& t) const {
    using Op = CanvasCall::Op;
    for (const CanvasCall& c : calls_) {
        switch (c.op) {
            case Op::SetPen: t.SetPen(c.color, c.penStyle, c.penMix); break;
            case Op::SetBrush: t.SetBrush(c.color, c.brushStyle); break;
            case Op::SetFont: t.SetFont(c.font); break;
            case Op::SetTextColor: t.SetTextColor(c.color); break;
            case Op::FillRect: t.FillRect(c.rect, c.color); break;
            case Op::MoveTo: t.MoveTo(c.points[0].x, c.points[0].y); break;
            case Op::LineTo: t.LineTo(c.points[0].x, c.points[0].y); break;
            case Op::Polygon: t.Polygon(c.points); break;
            case Op::Rectangle: t.Rectangle(c.rect); break;
            case Op::Ellipse: t.Ellipse(c.rect); break;
            case Op::Arc: t.Arc(c.rect, c.points[0], c.points[1]); break;
            case Op::SetPixel: t.SetPixel(c.points[0].x, c.points[0].y, c.color); break;
            case Op::TextOut: t.TextOut(c.points[0].x, c.points[0].y, c.text); break;
            case Op::XorPicture: t.XorPicture(c.points[0].x, c.points[0].y, *c.picture); break;
        }
    }
}

}  // namespace tavo
