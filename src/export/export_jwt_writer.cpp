#include "export/export_jwt_writer.h"

#include <cmath>

#include "base/geometry.h"
#include "export/jw_object.h"
#include "export/layer_byte.h"
#include "jwc/jwt_text.h"

namespace tavo {

std::string ExportToJwt(const TJwObject& d, JwtSelection which) {
    const auto wanted = [which](bool selected) { return which == JwtSelection::Everything || selected; };
    JwtTextBuilder jwt;
    for (const TLineItem& l : d.Lines) {
        if (wanted(l.Selected))
            jwt.line(LayerByte(l.Group, l.Layer), l.X1, l.Y1, l.X2, l.Y2, l.LineType, l.Color);
    }
    for (const TCircleItem& c : d.Circles) {
        if (!wanted(c.Selected)) continue;
        const uint8_t lay = LayerByte(c.Group, c.Layer);
        const bool whole = c.StartAngle == c.EndAngle || std::fabs(c.StartAngle - c.EndAngle) >= 360;
        if (whole && c.Flatness == 1)
            jwt.circle(lay, c.X, c.Y, c.R, c.LineType, c.Color);
        else
            jwt.arc(lay, c.X, c.Y, c.R, c.Flatness, c.StartAngle, c.EndAngle, c.Tilt, c.LineType, c.Color);
    }
    for (const TTextItem& t : d.Texts) {
        if (wanted(t.Selected))
            jwt.text(LayerByte(t.Group, t.Layer), t.X1, t.Y1, static_cast<float>(SegmentAngle(t.X1, t.Y1, t.X2, t.Y2)),
                     t.MojiNo, t.Text);
    }
    for (const TDotItem& p : d.Dots) {
        if (wanted(p.Selected)) jwt.point(LayerByte(p.Group, p.Layer), p.X, p.Y, p.Color);
    }
    return jwt.finish();
}

}  // namespace tavo
