#include "viewer/shape_passes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/geometry.h"
#include "export/jw_object.h"

namespace tavo {

namespace {


// Sets the pen only when it changes, so runs of one colour cost one call.
class PenSetter {
public:
    explicit PenSetter(Canvas& canvas) : canvas_(canvas) {}
    void operator()(WinColor color) {
        if (set_ && color == color_) return;
        canvas_.SetPen(color, PenStyle::Solid, PenMix::Copy);
        color_ = color;
        set_ = true;
    }

private:
    Canvas& canvas_;
    WinColor color_ = 0;
    bool set_ = false;
};

// False when both ends lie beyond the same edge of the clip, so that the
// segment cannot show.
bool MayShow(const PixelRect& clip, PixelPoint a, PixelPoint b) {
    return !((a.x < clip.left && b.x < clip.left) || (a.x > clip.right && b.x > clip.right) ||
             (a.y < clip.top && b.y < clip.top) || (a.y > clip.bottom && b.y > clip.bottom));
}

// Draws the pieces of a chain, leaving out those that cannot show and
// moving only where a piece does not continue the last one drawn.
class SegmentDrawer {
public:
    SegmentDrawer(Canvas& canvas, const PixelRect& clip) : canvas_(canvas), clip_(clip) {}
    void Segment(PixelPoint from, PixelPoint to) {
        if (!MayShow(clip_, from, to)) return;
        if (!atValid_ || at_ != from) canvas_.MoveTo(from.x, from.y);
        canvas_.LineTo(to.x, to.y);
        at_ = to;
        atValid_ = true;
    }

private:
    Canvas& canvas_;
    const PixelRect& clip_;
    PixelPoint at_;
    bool atValid_ = false;
};

bool Inside(const PixelRect& r, PixelPoint p) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

// Walks `items`, or only `only`, skipping invisible entities.
template <class Item, class Draw>
void ForEachVisible(const TJwObject& d, const std::vector<Item>& items, const Item* only, Draw draw) {
    if (only) {
        if (EntityVisible(d, only->Group, only->Layer)) draw(*only);
        return;
    }
    for (const Item& item : items)
        if (EntityVisible(d, item.Group, item.Layer)) draw(item);
}

// The range of steps k (1..n) whose points can lie inside the clip: the
// segment's parameter interval within the clip widened by a pixel, which
// holds every point that rounds inside. Empty when first > last.
void StepsNearClip(const PixelRect& clip, PixelPoint a, double dx, double dy, int64_t n, int64_t& first,
                   int64_t& last) {
    double t0 = 0, t1 = 1;
    const auto narrow = [&](double start, double delta, double low, double high) {
        if (delta == 0) {
            if (start < low || start > high) t1 = -1;
            return;
        }
        double u = (low - start) / delta, v = (high - start) / delta;
        if (u > v) std::swap(u, v);
        t0 = std::max(t0, u);
        t1 = std::min(t1, v);
    };
    narrow(a.x, dx, clip.left - 1.0, clip.right + 1.0);
    narrow(a.y, dy, clip.top - 1.0, clip.bottom + 1.0);
    if (t0 > t1) {
        first = 1;
        last = 0;
        return;
    }
    first = std::max<int64_t>(1, static_cast<int64_t>(std::floor(t0 * static_cast<double>(n))));
    last = std::min<int64_t>(n, static_cast<int64_t>(std::ceil(t1 * static_cast<double>(n))) + 1);
}

}  // namespace

void DrawSolids(Canvas& canvas, const TRenderContext& ctx, const TSolidItem* only) {
    const double ps = ctx.PixelScale;
    ForEachVisible(ctx.Drawing, ctx.Drawing.Solids, only, [&](const TSolidItem& s) {
        const WinColor color = ctx.Highlighted(s) ? kRed : s.Color;
        const double gs = GroupScaleOf(ctx.Drawing, s.Group);
        const int count = s.Count == 3 ? 3 : 4;
        std::vector<PixelPoint> corners(count);
        for (int i = 0; i < count; ++i)
            corners[i] = {RoundPixel((s.X[i] / gs - ctx.Origin.X) * ps), RoundPixel((ctx.Origin.Y - s.Y[i] / gs) * ps)};
        const auto [minX, maxX] = std::minmax_element(corners.begin(), corners.end(),
                                                      [](PixelPoint a, PixelPoint b) { return a.x < b.x; });
        const auto [minY, maxY] = std::minmax_element(corners.begin(), corners.end(),
                                                      [](PixelPoint a, PixelPoint b) { return a.y < b.y; });
        if (maxX->x < ctx.Clip.left || minX->x > ctx.Clip.right || maxY->y < ctx.Clip.top ||
            minY->y > ctx.Clip.bottom)
            return;
        canvas.SetPen(color, PenStyle::Solid, PenMix::Copy);
        canvas.SetBrush(color, BrushStyle::Solid);
        canvas.Polygon(corners);
    });
}

void DrawLines(Canvas& canvas, const TRenderContext& ctx, const TLineItem* only) {
    const double ps = ctx.PixelScale;
    const PixelRect& clip = ctx.Clip;
    PenSetter pen(canvas);
    ForEachVisible(ctx.Drawing, ctx.Drawing.Lines, only, [&](const TLineItem& l) {
        const double gs = GroupScaleOf(ctx.Drawing, l.Group);
        const PixelPoint a{RoundPixel((l.X1 / gs - ctx.Origin.X) * ps), RoundPixel((ctx.Origin.Y - l.Y1 / gs) * ps)};
        const PixelPoint b{RoundPixel((l.X2 / gs - ctx.Origin.X) * ps), RoundPixel((ctx.Origin.Y - l.Y2 / gs) * ps)};
        if (std::max(a.x, b.x) < clip.left || std::min(a.x, b.x) > clip.right || std::max(a.y, b.y) < clip.top ||
            std::min(a.y, b.y) > clip.bottom || a == b)
            return;
        pen(ctx.Highlighted(l) ? kRed : ctx.Cache.Pen(l.Color));
        const int type = UsableLineType(l.LineType);
        if (type == 1) {
            canvas.MoveTo(a.x, a.y);
            canvas.LineTo(b.x, b.y);
        } else {
            DrawDashedLine(canvas, ctx, type, a, b);
        }
    });
}

void DrawDashedLine(Canvas& canvas, const TRenderContext& ctx, int type, PixelPoint from, PixelPoint to) {
    const uint32_t pattern = ctx.LineTypes[type - 1].Pattern;
    const double dx = static_cast<double>(to.x) - from.x, dy = static_cast<double>(to.y) - from.y;
    const int64_t n = RoundHalfEven(std::sqrt(dx * dx + dy * dy)) / std::max(1, ctx.Cache.DotUnit[type]);
    const auto step = [&](int64_t k) {
        const double t = static_cast<double>(k);
        return PixelPoint{RoundPixel(dx / static_cast<double>(n) * t) + from.x,
                          RoundPixel(dy / static_cast<double>(n) * t) + from.y};
    };
    PixelPoint start = from;
    bool open = true;
    int bit = 1;
    // Steps away from the clip only move the start point, so those before
    // the first step near it come down to the last of them, and those after
    // the last to the end point.
    int64_t first = 1, last = n;
    if (n > 0) StepsNearClip(ctx.Clip, from, dx, dy, n, first, last);
    if (first > last) {
        if (n > 0) start = step(n);
    } else {
        if (first > 1) start = step(first - 1);
        for (int64_t k = first; k <= last; ++k) {
            const PixelPoint p = step(k);
            if (!Inside(ctx.Clip, p)) {
                start = p;
                continue;
            }
            const bool on = PatternBit(pattern, bit);
            if (on && !open) {
                open = true;
                start = p;
            } else if (!on && open) {
                canvas.MoveTo(start.x, start.y);
                canvas.LineTo(p.x, p.y);
                open = false;
            }
            bit = NextPatternBit(bit);
        }
        if (last < n) start = step(n);
    }
    if (open) {
        canvas.MoveTo(start.x, start.y);
        canvas.LineTo(to.x, to.y);
    }
}

void DrawDashedArc(Canvas& canvas, const TRenderContext& ctx, int type, int32_t cx, int32_t cy, int32_t r,
                   double startDegrees, double endDegrees) {
    const uint32_t pattern = ctx.LineTypes[type - 1].Pattern;
    const double s = Radians(startDegrees);
    double sweep = Radians(endDegrees - startDegrees);
    if (sweep < 0) sweep += 2 * kPi;
    const int64_t length = RoundHalfEven(r * sweep);
    const int64_t n = std::min(length / std::max(1, ctx.Cache.DotUnit[type]), kMaxArcSegments);
    const auto at = [&](double a) {
        return PixelPoint{RoundPixel(std::cos(a) * r) + cx, cy - RoundPixel(std::sin(a) * r)};
    };
    const PixelPoint p0 = at(s);
    SegmentDrawer draw(canvas, ctx.Clip);
    if (n < 2) {
        draw.Segment(p0, at(s + sweep));
        return;
    }
    const double step = sweep / static_cast<double>(n);
    int bit = 1;
    PixelPoint previous = p0;
    for (int64_t k = 1; k <= n; ++k) {
        const PixelPoint p = at(s + static_cast<double>(k) * step);
        if (PatternBit(pattern, bit)) draw.Segment(previous, p);
        bit = NextPatternBit(bit);
        previous = p;
    }
}

namespace {

// An ellipse or elliptic arc as a chain of about one segment per pixel,
// dashed by the line type's pattern (type 1 draws every segment).
void DrawEllipse(Canvas& canvas, const TRenderContext& ctx, const TCircleItem& c, double x, double y, int32_t ox,
                 int32_t oy) {
    const double gs = GroupScaleOf(ctx.Drawing, c.Group);
    const double a = c.R / gs * ctx.PixelScale;
    const double b = a * c.Flatness;
    const double s = Radians(c.StartAngle);
    double e = Radians(c.EndAngle);
    if (e <= s) e += 2 * kPi;
    const double tilt = Radians(c.Tilt);
    const int64_t n = std::min<int64_t>(std::llabs(RoundHalfEven((a + b) * kPi * (e - s) * 0.5 / kPi)),
                                        kMaxArcSegments);
    if (n == 0) return;
    const double step = (e - s) / static_cast<double>(n);
    const uint32_t pattern = ctx.LineTypes[UsableLineType(c.LineType) - 1].Pattern;
    const auto at = [&](double theta) {
        const WorldPoint v = RotateVector({std::cos(theta) * a, std::sin(theta) * b}, tilt);
        return PixelPoint{RoundPixel(x + v.X - ox), RoundPixel(oy - (y + v.Y))};
    };
    SegmentDrawer draw(canvas, ctx.Clip);
    PixelPoint previous = at(s);
    int bit = 1;
    double theta = s;
    for (int64_t k = 1; k <= n; ++k) {
        theta += step;
        const PixelPoint p = at(theta);
        if (PatternBit(pattern, bit)) draw.Segment(previous, p);
        bit = NextPatternBit(bit);
        previous = p;
    }
}

}  // namespace

void DrawCircles(Canvas& canvas, const TRenderContext& ctx, const TCircleItem* only) {
    const double ps = ctx.PixelScale;
    const PixelRect& clip = ctx.Clip;
    const int32_t ox = RoundPixel(ctx.Origin.X * ps), oy = RoundPixel(ctx.Origin.Y * ps);
    canvas.SetBrush(0, BrushStyle::Clear);
    PenSetter pen(canvas);
    ForEachVisible(ctx.Drawing, ctx.Drawing.Circles, only, [&](const TCircleItem& c) {
        const double gs = GroupScaleOf(ctx.Drawing, c.Group);
        const double x = c.X / gs * ps, y = c.Y / gs * ps;
        const int32_t cx = RoundPixel(x) - ox, cy = oy - RoundPixel(y);
        const int32_t rx = RoundPixel(c.R / gs * ps), ry = RoundPixel(c.R / gs * ps * c.Flatness);
        const PixelRect box{RoundPixel(x) - ox - rx, oy - RoundPixel(y) - ry, CeilPixel(x) - ox + rx,
                            oy - CeilPixel(y) + ry};
        if (box.right < clip.left || box.left > clip.right || box.bottom < clip.top || box.top > clip.bottom)
            return;
        if (box.left == box.right && box.top == box.bottom) return;
        pen(ctx.Highlighted(c) ? kRed : ctx.Cache.Pen(c.Color));
        const int type = UsableLineType(c.LineType);
        if (c.Flatness != 1) {
            DrawEllipse(canvas, ctx, c, x, y, ox, oy);
        } else if (c.StartAngle == c.EndAngle) {
            if (type == 1)
                canvas.Ellipse(box);
            else
                DrawDashedArc(canvas, ctx, type, cx, cy, rx, 0, 360);
        } else if (type == 1) {
            const double a1 = Radians(c.Tilt + c.StartAngle), a2 = Radians(c.Tilt + c.EndAngle);
            canvas.Arc(box, {RoundPixel(cx + std::cos(a1) * rx), RoundPixel(cy - std::sin(a1) * ry)},
                       {RoundPixel(cx + std::cos(a2) * rx), RoundPixel(cy - std::sin(a2) * ry)});
        } else {
            DrawDashedArc(canvas, ctx, type, cx, cy, rx, c.StartAngle + c.Tilt, c.EndAngle + c.Tilt);
        }
    });
}

void DrawDots(Canvas& canvas, const TRenderContext& ctx, const TDotItem* only) {
    const double ps = ctx.PixelScale;
    const int32_t ox = RoundPixel(ctx.Origin.X * ps), oy = RoundPixel(ctx.Origin.Y * ps);
    const int32_t r = std::min(RoundPixel(0.4 * ps), 3);
    ForEachVisible(ctx.Drawing, ctx.Drawing.Dots, only, [&](const TDotItem& d) {
        const double gs = GroupScaleOf(ctx.Drawing, d.Group);
        const PixelPoint p{RoundPixel(d.X / gs * ps) - ox, oy - RoundPixel(d.Y / gs * ps)};
        if (!Inside(ctx.Clip, p)) return;
        const WinColor color = ctx.Highlighted(d) ? kRed : ctx.Cache.Pen(d.Color);
        if (r <= 0) {
            canvas.SetPixel(p.x, p.y, color);
            return;
        }
        canvas.SetPen(color, PenStyle::Solid, PenMix::Copy);
        canvas.SetBrush(color, BrushStyle::Solid);
        canvas.Ellipse({p.x - r, p.y - r, p.x + r + 1, p.y + r + 1});
    });
}

}  // namespace tavo
