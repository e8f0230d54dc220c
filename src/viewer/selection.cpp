#include "viewer/selection.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/geometry.h"
#include "export/jw_object.h"
#include "viewer/text_layout.h"

namespace tavo {

namespace {


double NormalizedAngle(double a) {
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

bool InRect(WorldPoint p, WorldPoint lo, WorldPoint hi) {
    return lo.X <= p.X && p.X <= hi.X && lo.Y <= p.Y && p.Y <= hi.Y;
}

double Distance(WorldPoint a, WorldPoint b) { return std::hypot(b.X - a.X, b.Y - a.Y); }

bool Between(double v, double a, double b) { return std::min(a, b) <= v && v <= std::max(a, b); }

// Distance from p to the segment a-b as the click tests measure it, or none
// when the segment is not considered: an axis-parallel segment only beside
// its span, a slanted one only where the foot of the perpendicular lies in
// its bounding box. `roundSlanted`: lines round the slanted distance to
// whole millimetres, text base lines do not.
std::optional<double> SegmentDistance(WorldPoint a, WorldPoint b, WorldPoint p, bool roundSlanted) {
    if (a.X == b.X) {
        if (!Between(p.Y, a.Y, b.Y)) return std::nullopt;
        return std::fabs(p.X - a.X);
    }
    if (a.Y == b.Y) {
        if (!Between(p.X, a.X, b.X)) return std::nullopt;
        return std::fabs(p.Y - a.Y);
    }
    const double alpha = SegmentAngle(a.X, a.Y, b.X, b.Y);
    const double beta = SegmentAngle(a.X, a.Y, p.X, p.Y);
    const double rho = Distance(a, p);
    const double perpendicular = std::sin(beta - alpha) * rho;
    const double d = roundSlanted ? std::fabs(static_cast<double>(RoundHalfEven(perpendicular)))
                                  : std::fabs(perpendicular);
    const double along = std::cos(beta - alpha) * rho;
    const WorldPoint foot{a.X + along * std::cos(alpha), a.Y + along * std::sin(alpha)};
    if (!Between(foot.X, a.X, b.X) || !Between(foot.Y, a.Y, b.Y)) return std::nullopt;
    return d;
}

// Walks the visible items, keeping the one nearest below the reach of 8
// pixels; `stopEarly` ends the walk once one lies within 2 pixels.
template <class Item, class Measure>
Item* Nearest(TJwObject& d, std::vector<Item>& items, double ps, bool stopEarly, Measure measure) {
    double reach = 8 / ps;
    Item* best = nullptr;
    for (Item& item : items) {
        if (!EntityVisible(d, item.Group, item.Layer)) continue;
        const std::optional<double> dist = measure(item, GroupScaleOf(d, item.Group));
        if (dist && *dist < reach) {
            reach = *dist;
            best = &item;
            if (stopEarly && reach < 2 / ps) break;
        }
    }
    return best;
}

}  // namespace

bool AngleInArc(double s, double e, double a) {
    s = NormalizedAngle(s);
    e = NormalizedAngle(e);
    if (e > s) return s < a && a < e;
    return (s < a && a < 2 * kPi) || (0 < a && a < e);
}

void SelectEntitiesInRect(TJwObject& d, WorldPoint lo, WorldPoint hi, bool includeTexts, const TPaintCache& cache,
                          double ps) {
    const auto in = [&](double x, double y) { return InRect({x, y}, lo, hi); };
    for (TLineItem& l : d.Lines) {
        const double gs = GroupScaleOf(d, l.Group);
        l.Selected = in(l.X1 / gs, l.Y1 / gs) && in(l.X2 / gs, l.Y2 / gs);
    }
    for (TCircleItem& c : d.Circles) {
        const double gs = GroupScaleOf(d, c.Group);
        const double x = c.X / gs, y = c.Y / gs, r = c.R / gs, ry = r * c.Flatness;
        if (c.StartAngle == c.EndAngle) {
            c.Selected = in(x - r, y - ry) && in(x + r, y + ry);
        } else {
            // The ends as the arc is drawn: on the untilted ellipse, then
            // turned by the tilt (for a circle, the angle plus the tilt).
            const double tilt = Radians(c.Tilt);
            const auto end = [&](double degrees) {
                const double a = Radians(degrees);
                const WorldPoint v = RotateVector({std::cos(a) * r, std::sin(a) * ry}, tilt);
                return WorldPoint{x + v.X, y + v.Y};
            };
            const WorldPoint p1 = end(c.StartAngle), p2 = end(c.EndAngle);
            c.Selected = in(p1.X, p1.Y) && in(p2.X, p2.Y);
        }
    }
    for (TDotItem& p : d.Dots) {
        const double gs = GroupScaleOf(d, p.Group);
        p.Selected = in(p.X / gs, p.Y / gs);
    }
    for (TSolidItem& s : d.Solids) {
        const double gs = GroupScaleOf(d, s.Group);
        const int count = s.Count == 3 ? 3 : 4;
        bool inside = true;
        for (int i = 0; i < count; ++i) inside = inside && in(s.X[i] / gs, s.Y[i] / gs);
        s.Selected = inside;
    }
    if (!includeTexts) return;
    for (TTextItem& t : d.Texts) {
        const double gs = GroupScaleOf(d, t.Group);
        const TTextMetrics& m = cache.TextSize(t.MojiNo);
        const WorldPoint p1{t.X1 / gs, t.Y1 / gs};
        const double theta = SegmentAngle(t.X1, t.Y1, t.X2, t.Y2);
        const double w = TextCells(t.Text) * double(m.WidthPx + m.PitchPx) * 0.5 / ps;
        const double h = m.HeightPx / ps;
        const WorldPoint v = RotateVector({w, h}, theta);
        t.Selected = in(p1.X, p1.Y) && in(p1.X + v.X, p1.Y + v.Y);
    }
}

TDotItem* NearestDot(TJwObject& d, WorldPoint p, double ps) {
    return Nearest(d, d.Dots, ps, true, [&](const TDotItem& dot, double gs) -> std::optional<double> {
        return Distance({dot.X / gs, dot.Y / gs}, p);
    });
}

TLineItem* NearestLine(TJwObject& d, WorldPoint p, double ps) {
    return Nearest(d, d.Lines, ps, true, [&](const TLineItem& l, double gs) {
        return SegmentDistance({l.X1 / gs, l.Y1 / gs}, {l.X2 / gs, l.Y2 / gs}, p, true);
    });
}

TCircleItem* NearestCircle(TJwObject& d, WorldPoint p, double ps) {
    return Nearest(d, d.Circles, ps, false, [&](const TCircleItem& c, double gs) -> std::optional<double> {
        const WorldPoint centre{c.X / gs, c.Y / gs};
        const double r = c.R / gs;
        const double delta = Distance(centre, p);
        const double phi = SegmentAngle(centre.X, centre.Y, p.X, p.Y);
        const double tilt = Radians(c.Tilt);
        // The sweep as drawn: both angles turned by the tilt.
        if (c.StartAngle != c.EndAngle && !AngleInArc(Radians(c.StartAngle) + tilt, Radians(c.EndAngle) + tilt, phi))
            return std::nullopt;
        if (c.Flatness == 1) return std::fabs(delta - r);
        const double psi = phi - tilt;
        return std::fabs(delta - std::hypot(std::cos(psi) * r, std::sin(psi) * r * c.Flatness));
    });
}

TTextItem* NearestText(TJwObject& d, WorldPoint p, double ps) {
    return Nearest(d, d.Texts, ps, false, [&](const TTextItem& t, double gs) {
        return SegmentDistance({t.X1 / gs, t.Y1 / gs}, {t.X2 / gs, t.Y2 / gs}, p, false);
    });
}

}  // namespace tavo
