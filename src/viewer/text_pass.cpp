#include "viewer/text_pass.h"

#include <algorithm>
#include <cmath>

#include "base/geometry.h"
#include "export/jw_object.h"
#include "viewer/text_layout.h"

namespace tavo {

namespace {

constexpr uint8_t kShiftJisCharSet = 128;

void DrawGlyphs(Canvas& canvas, const TRenderContext& ctx, const TTextItem& t, const TTextMetrics& m, double sx,
                double sy, double theta) {
    const WorldPoint d = RotateVector(t.Vertical ? WorldPoint{0, 0} : WorldPoint{0, -double(m.HeightPx)}, theta);
    const WorldPoint reference{sx - d.X, sy + d.Y};
    const TextPitchResult pitch = TextPitch(t.Text, m.WidthReal, m.PitchReal);

    const LogicalFont normal = TextFont(ctx, t.MojiNo, theta, t.Vertical);
    LogicalFont smallOne = normal;
    smallOne.Height = -m.HeightPx / 2;
    LogicalFont smallTwo = smallOne;
    smallTwo.Width = m.WidthPx / 4;

    GlyphFont current = GlyphFont::Normal;
    canvas.SetFont(normal);
    for (const PlacedGlyph& g : LayoutGlyphs(pitch.Text, reference, theta, pitch.Pitch, m.HeightPx)) {
        if (g.Font != current) {
            canvas.SetFont(g.Font == GlyphFont::Normal ? normal : g.Font == GlyphFont::SmallOneByte ? smallOne : smallTwo);
            current = g.Font;
        }
        canvas.TextOut(g.At.x, g.At.y, std::string_view(pitch.Text).substr(g.Offset, g.Bytes));
    }
}

}  // namespace

LogicalFont TextFont(const TRenderContext& ctx, int k, double theta, bool vertical) {
    const TTextMetrics& m = ctx.Cache.TextSize(k);
    LogicalFont f;
    f.Height = -m.HeightPx;
    f.Width = m.WidthPx / 2;
    f.Escapement = RoundPixel(theta * 180.0 / kPi * 10) + (vertical ? 900 : 0);
    f.Orientation = f.Escapement;
    f.CharSet = kShiftJisCharSet;
    const TMojiProp* prop = ctx.Drawing.MojiProp(k);
    f.FaceName = prop ? prop->FontName : kMojiFontName;
    return f;
}

void DrawTexts(Canvas& canvas, const TRenderContext& ctx, const TTextItem*) {
    const double ps = ctx.PixelScale;
    const PixelRect& clip = ctx.Clip;
    const int32_t ox = RoundPixel(ctx.Origin.X * ps), oy = RoundPixel(ctx.Origin.Y * ps);
    canvas.SetBrush(0, BrushStyle::Clear);
    for (const TTextItem& t : ctx.Drawing.Texts) {
        if (!EntityVisible(ctx.Drawing, t.Group, t.Layer)) continue;
        const TTextMetrics& m = ctx.Cache.TextSize(t.MojiNo);
        const WinColor color = ctx.Highlighted(t) ? kRed : m.Color;
        const double gs = GroupScaleOf(ctx.Drawing, t.Group);
        const double sx = RoundPixel(t.X1 / gs * ps) - ox, sy = oy - RoundPixel(t.Y1 / gs * ps);
        const double theta = SegmentAngle(t.X1, t.Y1, t.X2, t.Y2);
        const double len = DrawnTextLength(t.Text, m.WidthReal, m.PitchReal);
        const double h = m.HeightPx;
        // A text without length or height has no box and nothing to show.
        if (len == 0 || h == 0) continue;
        const auto place = [&](WorldPoint v) {
            const WorldPoint r = RotateVector(v, theta);
            return WorldPoint{sx + r.X, sy - r.Y};
        };
        const WorldPoint a = place({len, h});
        if (std::max(sx, a.X) < clip.left || std::min(sx, a.X) > clip.right || std::max(sy, a.Y) < clip.top ||
            std::min(sy, a.Y) > clip.bottom)
            continue;
        if (sx == a.X || sy == a.Y) continue;
        if (m.HeightPx <= 7) {
            const WorldPoint b = place({len, 0}), c = place({0, h});
            canvas.SetPen(color, PenStyle::Solid, PenMix::Copy);
            canvas.MoveTo(RoundPixel(sx), RoundPixel(sy));
            canvas.LineTo(RoundPixel(b.X), RoundPixel(b.Y));
            canvas.LineTo(RoundPixel(a.X), RoundPixel(a.Y));
            canvas.LineTo(RoundPixel(c.X), RoundPixel(c.Y));
            canvas.LineTo(RoundPixel(sx), RoundPixel(sy));
            continue;
        }
        canvas.SetTextColor(color);
        DrawGlyphs(canvas, ctx, t, m, sx, sy, theta);
    }
    canvas.SetBrush(ctx.Cache.Background, BrushStyle::Solid);
}

}  // namespace tavo
