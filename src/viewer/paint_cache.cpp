#include "viewer/paint_cache.h"

#include "export/jw_object.h"

namespace tavo {

TPaintCache FillPaintCache(const TJwObject& drawing, double ps, const TColorTable& colors,
                           const TLineTypes& lineTypes) {
    TPaintCache c;
    c.Background = colors[0];
    for (int p = 1; p <= 9; ++p) {
        c.PenColor[p] = colors[p];
        c.PenWidth[p] = 0;
        c.DotUnit[p] = lineTypes[p - 1].DotUnit;
    }
    c.Text[0].Color = c.Pen(0);
    for (int k = 1; k <= 10; ++k) {
        const TMojiProp& m = *drawing.MojiProp(k);
        TTextMetrics& t = c.Text[k];
        t.HeightPx = RoundPixel(m.Height * ps);
        t.WidthPx = RoundPixel(m.Width * ps);
        t.PitchPx = RoundPixel(m.Pitch * ps);
        t.WidthReal = m.Width * ps;
        t.PitchReal = m.Pitch * ps;
        t.Color = c.Pen(m.PenNo);
    }
    return c;
}

}  // namespace tavo
