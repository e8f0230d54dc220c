#include "export/dxf_entities.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/error.h"
#include "export/dxf_colors.h"
#include "export/dxf_text.h"
#include "export/jw_line_types.h"
#include "export/jw_object.h"
#include "export/layer_byte.h"

namespace tavo {

namespace {

// An ellipse far beyond any sheet would otherwise take without end.
constexpr int kMaxEllipseLines = 1 << 16;

bool finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

[[noreturn]] void notFinite(const char* kind, std::size_t index) {
    throw Error("the drawing's " + std::string(kind) + " " + std::to_string(index + 1) +
                " has a coordinate, size or angle that is not a finite number; DXF cannot hold it");
}

double normalDegrees(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360 : d;
}

double normalRadians(double radians) {
    const double r = std::fmod(radians, 2 * kPi);
    return r < 0 ? r + 2 * kPi : r;
}

// A circle or ellipse as the preview draws it: the point for parameter t is
// centre + A cos t + B sin t, A and B its two half axes turned by the tilt.
struct EllipseShape {
    WorldPoint Centre, A, B;
    WorldPoint at(double t) const {
        return {Centre.X + A.X * std::cos(t) + B.X * std::sin(t), Centre.Y + A.Y * std::cos(t) + B.Y * std::sin(t)};
    }
};

class Frontend {
public:
    Frontend(const TJwObject& d, DxfProfile profile, DxfEntitySink& sink)
        : d_(d), profile_(profile), sink_(sink), sheetScale_(DxfSheetScale(d)) {}

    void run() {
        for (std::size_t i = 0; i < d_.Solids.size(); ++i) solid(d_.Solids[i], i);
        for (std::size_t i = 0; i < d_.Lines.size(); ++i) line(d_.Lines[i], i);
        for (std::size_t i = 0; i < d_.Circles.size(); ++i) circle(d_.Circles[i], i);
        for (std::size_t i = 0; i < d_.Texts.size(); ++i) text(d_.Texts[i], i);
        for (std::size_t i = 0; i < d_.Dots.size(); ++i) dot(d_.Dots[i], i);
    }

private:
    bool full() const { return profile_ != DxfProfile::Jw; }

    void start(DxfKind kind, uint8_t group, uint8_t layer, int lineType, int aci) {
        e_.Kind = kind;
        e_.Layer = LayerByte(group & 15, layer & 15);
        e_.LineType = static_cast<uint8_t>(UsableLineType(lineType));
        e_.Aci = aci;
        e_.TrueColor = -1;
        const double ratio = GroupScaleOf(d_, group) / sheetScale_;
        e_.LineTypeScale = full() && std::isfinite(ratio) && ratio > 0 ? ratio : 1;
        e_.Points.clear();
        e_.Fit = e_.Closed = false;
    }
    void emit() { sink_.Entity(e_); }

    void solid(const TSolidItem& s, std::size_t index) {
        const int n = s.Count == 3 ? 3 : 4;
        const uint32_t rgb = RgbOfWinColor(s.Color);
        start(DxfKind::Solid, s.Group, s.Layer, 1, nearestAci(rgb));
        if (profile_ == DxfProfile::R2018) e_.TrueColor = static_cast<int32_t>(rgb);
        double area = 0;
        for (int i = 0; i < n; ++i) {
            if (!finite({s.X[i], s.Y[i]})) notFinite("solid", index);
            const int j = (i + 1) % n;
            area += s.X[i] * s.Y[j] - s.X[j] * s.Y[i];
            e_.Points.push_back({s.X[i], s.Y[i]});
        }
        if (area != 0) {
            e_.Kind = full() ? DxfKind::Hatch : DxfKind::Solid;
            emit();
        } else if (full()) {
            e_.Kind = DxfKind::Polyline;  // a fill without area shows as its outline
            e_.Closed = true;
            emit();
        } else {
            outlineAsLines();
        }
    }

    void outlineAsLines() {
        const std::vector<WorldPoint> corners = e_.Points;
        e_.Kind = DxfKind::Line;
        bool any = false;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const WorldPoint a = corners[i], b = corners[(i + 1) % corners.size()];
            if (a.X == b.X && a.Y == b.Y) continue;
            e_.Points.assign({a, b});
            emit();
            any = true;
        }
        if (!any) {
            e_.Kind = DxfKind::Point;
            e_.Points.assign({corners[0]});
            emit();
        }
    }

    void line(const TLineItem& l, std::size_t index) {
        if (!finite({l.X1, l.Y1, l.X2, l.Y2})) notFinite("line", index);
        start(DxfKind::Line, l.Group, l.Layer, l.LineType, AciOfPen(l.Color));
        e_.Points.assign({{l.X1, l.Y1}, {l.X2, l.Y2}});
        emit();
    }

    void dot(const TDotItem& p, std::size_t index) {
        if (!finite({p.X, p.Y})) notFinite("point", index);
        start(DxfKind::Point, p.Group, p.Layer, 1, AciOfPen(p.Color));
        e_.Points.assign({{p.X, p.Y}});
        emit();
    }

    void circle(const TCircleItem& c, std::size_t index) {
        if (!finite({c.X, c.Y, c.R, c.Flatness, c.StartAngle, c.EndAngle, c.Tilt})) notFinite("circle", index);
        const double r = std::fabs(c.R);
        if (r == 0) return;
        start(DxfKind::Circle, c.Group, c.Layer, c.LineType, AciOfPen(c.Color));
        e_.Points.assign({{c.X, c.Y}});
        // Whole when both ends meet, as the preview's arc from a point back
        // to the same point is.
        const bool whole = std::fmod(c.EndAngle - c.StartAngle, 360.0) == 0;
        if (c.Flatness == 1) {
            e_.Radius = r;
            if (!whole) {
                e_.Kind = DxfKind::Arc;
                e_.Start = normalDegrees(c.StartAngle + c.Tilt);
                e_.End = normalDegrees(c.EndAngle + c.Tilt);
            }
            emit();
            return;
        }
        const double tilt = c.Tilt / kDegreesPerRadian;
        const EllipseShape shape{{c.X, c.Y}, RotateVector({c.R, 0}, tilt), RotateVector({0, c.R * c.Flatness}, tilt)};
        double s = c.StartAngle / kDegreesPerRadian, e = c.EndAngle / kDegreesPerRadian;
        if (whole) e = s + 2 * kPi;
        if (e <= s) e += 2 * kPi;
        // AutoCAD takes no ellipse flatter than 1 to 10^6.
        const double flatness = std::fabs(c.Flatness);
        if (full() && std::min(flatness, 1 / flatness) >= 1e-6)
            ellipse(shape, flatness, c.Flatness < 0, whole, s, e);
        else
            ellipseAsLines(shape, std::max(r, std::fabs(c.R * c.Flatness)), c.Group, whole, s, std::min(e, s + 2 * kPi));
    }

    // DXF wants the major axis and a ratio up to 1, its parameters running
    // counter-clockwise: a flatness over 1 swaps the axes, a negative one
    // runs the other way.
    void ellipse(const EllipseShape& shape, double flatness, bool reversed, bool whole, double s, double e) {
        const bool swapped = flatness > 1;
        const WorldPoint major = swapped ? shape.B : shape.A;
        e_.Kind = DxfKind::Ellipse;
        e_.MajorAxis = major;
        e_.Ratio = swapped ? 1 / flatness : flatness;
        if (whole) {
            e_.Start = 0;
            e_.End = 2 * kPi;
        } else {
            const WorldPoint minor = RotateVector({major.X * e_.Ratio, major.Y * e_.Ratio}, kPi / 2);
            const auto parameter = [&](double t) {
                const WorldPoint p = shape.at(t);
                const WorldPoint v{p.X - shape.Centre.X, p.Y - shape.Centre.Y};
                const double m2 = major.X * major.X + major.Y * major.Y, n2 = minor.X * minor.X + minor.Y * minor.Y;
                return normalRadians(std::atan2((v.X * minor.X + v.Y * minor.Y) / n2, (v.X * major.X + v.Y * major.Y) / m2));
            };
            e_.Start = parameter(reversed ? e : s);
            e_.End = parameter(reversed ? s : e);
        }
        emit();
    }

    // Short lines whose middles stay within the tolerance on the sheet: a
    // chord over a parameter step h strays at most |A| h^2 / 8 from the
    // curve, |A| the larger half axis.
    void ellipseAsLines(const EllipseShape& shape, double larger, uint8_t group, bool whole, double s, double e) {
        const double tolerance = kDxfEllipseTolerance * GroupScaleOf(d_, group);
        const double step = std::sqrt(8 * tolerance / larger);
        const int n = static_cast<int>(std::min<double>(kMaxEllipseLines, std::max(1.0, std::ceil((e - s) / step))));
        std::vector<WorldPoint> points;
        points.reserve(static_cast<std::size_t>(n) + 1);
        for (int k = 0; k <= n; ++k) points.push_back(shape.at(s + (e - s) * k / n));
        if (whole) points.back() = points.front();
        if (full()) {
            e_.Kind = DxfKind::Polyline;
            e_.Closed = whole;
            if (whole) points.pop_back();
            e_.Points = std::move(points);
            emit();
            return;
        }
        e_.Kind = DxfKind::Line;
        for (int k = 0; k < n; ++k) {
            e_.Points.assign({points[k], points[k + 1]});
            emit();
        }
    }

    void text(const TTextItem& t, std::size_t index) {
        const TMojiProp* size = d_.MojiProp(t.MojiNo);
        if (!size) return;
        const double gs = GroupScaleOf(d_, t.Group);
        DxfTextFrame frame{{t.X1, t.Y1}, SegmentAngle(t.X1, t.Y1, t.X2, t.Y2), size->Height * gs, size->Width * gs,
                           size->Pitch * gs, t.Vertical};
        if (!finite({t.X1, t.Y1, t.X2, t.Y2, frame.Height, frame.Width, frame.Pitch})) notFinite("text", index);
        if (frame.Height <= 0) return;
        start(DxfKind::Text, t.Group, t.Layer, 1, AciOfPen(size->PenNo));
        EmitDxfText(t.Text, frame, profile_, e_, sink_);
    }

    // Fills of a sheet share a few colours.
    int nearestAci(uint32_t rgb) {
        if (rgb != lastRgb_) {
            lastRgb_ = rgb;
            lastAci_ = NearestAci(rgb);
        }
        return lastAci_;
    }

    const TJwObject& d_;
    DxfProfile profile_;
    DxfEntitySink& sink_;
    double sheetScale_;
    DxfEntity e_;
    uint32_t lastRgb_ = 0xFFFFFFFF;
    int lastAci_ = 7;
};

}  // namespace

double DxfSheetScale(const TJwObject& d) {
    if (std::isfinite(d.JwcScale) && d.JwcScale > 0) return d.JwcScale;
    const auto firstGroup = [&]() -> int {
        int group = 16;
        const auto take = [&](uint8_t g) { group = std::min<int>(group, g & 15); };
        for (const TLineItem& e : d.Lines) take(e.Group);
        for (const TCircleItem& e : d.Circles) take(e.Group);
        for (const TDotItem& e : d.Dots) take(e.Group);
        for (const TTextItem& e : d.Texts) take(e.Group);
        for (const TSolidItem& e : d.Solids) take(e.Group);
        return group;
    };
    const int g = firstGroup();
    if (g == 16) return 1;
    const double s = GroupScaleOf(d, static_cast<uint8_t>(g));
    return std::isfinite(s) && s > 0 ? s : 1;
}

void EmitDxfEntities(const TJwObject& drawing, DxfProfile profile, DxfEntitySink& sink) {
    Frontend(drawing, profile, sink).run();
}

}  // namespace tavo
