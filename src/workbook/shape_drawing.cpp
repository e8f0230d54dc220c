#include "workbook/shape_drawing.h"

#include <algorithm>
#include <cmath>

#include "base/geometry.h"
#include "workbook/border_pens.h"
#include "workbook/text_placement.h"

namespace tavo::workbook {

namespace {

float F(double v) { return static_cast<float>(v); }

struct Point {
    double x = 0, y = 0;
};

// A shape's box on the paper, turned about its centre: local points are
// millimetres from the centre, y up, before the turn.
class ShapeFrame {
public:
    ShapeFrame(const PaperRect& r, double clockwiseDegrees, bool flipH, bool flipV)
        : cx_((r.left + r.right) / 2), cy_((r.top + r.bottom) / 2), w_(r.right - r.left), h_(r.top - r.bottom),
          cos_(std::cos(clockwiseDegrees * kPi / 180)), sin_(std::sin(clockwiseDegrees * kPi / 180)), flipH_(flipH),
          flipV_(flipV) {}

    double width() const { return w_; }
    double height() const { return h_; }
    Point local(double dx, double dy) const { return {cx_ + dx * cos_ + dy * sin_, cy_ - dx * sin_ + dy * cos_}; }
    // A point of the box given as fractions across and down it.
    Point unit(double u, double v) const {
        if (flipH_) u = 1 - u;
        if (flipV_) v = 1 - v;
        return local((u - 0.5) * w_, (0.5 - v) * h_);
    }

private:
    double cx_, cy_, w_, h_, cos_, sin_;
    bool flipH_, flipV_;
};

class ShapePainter {
public:
    ShapePainter(const SheetShape& s, const TavoSettings& settings, ExportCalls& calls, double mm)
        : shape_(s), calls_(calls), mm_(mm) {
        pen_ = LinePen(s.outline.color, settings.SimbolColor, settings);
        type_ = BorderLineType(s.outline.style, settings);
        lay_ = settings.SimbolLay;
    }

    void line(const Point& a, const Point& b) const {
        calls_.AddLine(F(a.x), F(a.y), F(b.x), F(b.y), pen_, lay_, type_);
    }

    void polyline(const std::vector<Point>& points, bool closed) const {
        for (std::size_t i = 1; i < points.size(); ++i) line(points[i - 1], points[i]);
        if (closed && points.size() > 2) line(points.back(), points.front());
    }

    // Two short lines back from the tip, either side of the line from `from`.
    void arrow(const Point& tip, const Point& from) const {
        const double dx = from.x - tip.x, dy = from.y - tip.y, len = std::hypot(dx, dy);
        if (len <= 0) return;
        const double size = shape_.arrowPoints * mm_;
        for (double sign : {1.0, -1.0}) {
            const double a = sign * kArrowDegrees * kPi / 180;
            const double ux = (dx * std::cos(a) - dy * std::sin(a)) / len, uy = (dx * std::sin(a) + dy * std::cos(a)) / len;
            line(tip, {tip.x + ux * size, tip.y + uy * size});
        }
    }

    void arc(const Point& centre, double r, double startDegrees, double endDegrees) const {
        const double turn = shape_.rotation;
        calls_.AddCircle(F(centre.x), F(centre.y), F(r), 1.0f, F(NormalizedDegrees(startDegrees - turn)),
                         F(NormalizedDegrees(endDegrees - turn)), 0.0f, pen_, lay_, type_);
    }

    void ellipse(const Point& centre, double w, double h) const {
        double r = w / 2, flatness = w > 0 ? h / w : 1, tilt = -shape_.rotation;
        if (h > w) {
            r = h / 2;
            flatness = w / h;
            tilt += 90;
        }
        calls_.AddCircle(F(centre.x), F(centre.y), F(r), F(flatness), 0.0f, 0.0f, F(NormalizedDegrees(tilt)), pen_, lay_,
                         type_);
    }

private:
    const SheetShape& shape_;
    ExportCalls& calls_;
    double mm_;
    uint8_t pen_ = 1, type_ = 1, lay_ = 0;
};

void DrawOutline(const SheetShape& s, const ShapeFrame& f, const ShapePainter& p) {
    switch (s.kind) {
        case ShapeKind::Line:
        case ShapeKind::Elbow: {
            std::vector<Point> pts{f.unit(0, 0)};
            if (s.kind == ShapeKind::Elbow) {
                pts.push_back(f.unit(s.adjust, 0));
                pts.push_back(f.unit(s.adjust, 1));
            }
            pts.push_back(f.unit(1, 1));
            p.polyline(pts, false);
            if (s.headArrow) p.arrow(pts.front(), pts[1]);
            if (s.tailArrow) p.arrow(pts.back(), pts[pts.size() - 2]);
            break;
        }
        case ShapeKind::Rect:
            p.polyline({f.unit(0, 0), f.unit(1, 0), f.unit(1, 1), f.unit(0, 1)}, true);
            break;
        case ShapeKind::RoundRect: {
            const double hw = f.width() / 2, hh = f.height() / 2;
            const double r = std::clamp(s.adjust, 0.0, 0.5) * std::min(f.width(), f.height());
            p.line(f.local(-hw + r, hh), f.local(hw - r, hh));
            p.line(f.local(hw, hh - r), f.local(hw, -hh + r));
            p.line(f.local(hw - r, -hh), f.local(-hw + r, -hh));
            p.line(f.local(-hw, -hh + r), f.local(-hw, hh - r));
            if (r <= 0) break;
            p.arc(f.local(hw - r, hh - r), r, 0, 90);
            p.arc(f.local(-hw + r, hh - r), r, 90, 180);
            p.arc(f.local(-hw + r, -hh + r), r, 180, 270);
            p.arc(f.local(hw - r, -hh + r), r, 270, 360);
            break;
        }
        case ShapeKind::Ellipse:
            if (f.width() > 0 || f.height() > 0) p.ellipse(f.local(0, 0), f.width(), f.height());
            break;
        case ShapeKind::Polygon: {
            std::vector<Point> pts;
            for (const auto& [u, v] : s.points) pts.push_back(f.unit(u, v));
            p.polyline(pts, s.closed);
            break;
        }
    }
}

void DrawShapeText(const SheetShape& s, const ShapeFrame& f, const TavoSettings& settings, ExportCalls& calls,
                   double mm, SheetTextConverter& toCp932) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= s.text.size()) {
        const std::size_t br = std::min(s.text.find('\n', at), s.text.size());
        lines.push_back(toCp932(std::string_view(s.text).substr(at, br - at)));
        at = br + 1;
    }
    while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos) lines.pop_back();
    if (lines.empty()) return;
    const TextMetrics m = MetricsFor(s.fontPoints, mm, settings);
    const double hw = f.width() / 2, hh = f.height() / 2;
    const std::vector<PlacedLine> placed =
        PlaceLines(lines, {-hw, hw, -hh, hh}, s.textAlign, s.textAnchor, kInsetXPoints * mm, kInsetYPoints * mm, m);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const PlacedLine& l = placed[i];
        const Point a = f.local(l.x, l.y), b = f.local(l.x + l.length, l.y);
        calls.AddText(F(a.x), F(a.y), F(b.x), F(b.y), m.size, settings.MojiLay, lines[i]);
    }
}

}  // namespace

double NormalizedDegrees(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0) d += 360;
    return d >= 360 ? 0 : d;
}

int DrawShapes(const SheetModel& model, const SheetGrid& grid, const TavoSettings& settings, ExportCalls& calls,
               SheetTextConverter& toCp932) {
    const double mm = grid.mmPerPoint();
    const CellRange& range = grid.range();
    int drawn = 0;
    for (std::size_t i = 0; i < model.shapes.size(); ++i) {
        const SheetShape& s = model.shapes[i];
        const ShapeBox& b = s.box;
        double x0 = grid.paperX(b.from), y0 = grid.paperY(b.from);
        double x1 = b.to ? grid.paperX(*b.to) : x0 + b.width * mm;
        double y1 = b.to ? grid.paperY(*b.to) : y0 - b.height * mm;
        if (b.sizedFromEnd) {
            x0 = x1 - b.width * mm;
            y0 = y1 + b.height * mm;
        }
        // Left out when it lies wholly beyond the drawn cells.
        const SheetPoint first{range.firstRow, range.firstCol}, past{range.lastRow + 1, range.lastCol + 1};
        if (std::max(x0, x1) < grid.paperX(first) || std::min(x0, x1) > grid.paperX(past) ||
            std::min(y0, y1) > grid.paperY(first) || std::max(y0, y1) < grid.paperY(past))
            continue;
        const PaperRect r{x0 + b.inner[0] * (x1 - x0), x0 + b.inner[2] * (x1 - x0), y0 + b.inner[3] * (y1 - y0),
                          y0 + b.inner[1] * (y1 - y0)};
        const ShapeFrame frame(r, s.rotation, s.flipH, s.flipV);
        if (s.outline.style != BorderStyle::None) DrawOutline(s, frame, ShapePainter(s, settings, calls, mm));
        toCp932.at("shape " + std::to_string(i + 1));
        if (!s.text.empty()) DrawShapeText(s, frame, settings, calls, mm, toCp932);
        ++drawn;
    }
    return drawn;
}

}  // namespace tavo::workbook
