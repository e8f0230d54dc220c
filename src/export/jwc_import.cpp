#include "export/jwc_import.h"

#include "export/jw_object.h"
#include "export/layer_byte.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_header.h"

namespace tavo {

void ImportJwc(const TJwcFile& d, TJwObject& o) {
    o.PlotSize = d.paperSize;
    // Kept, so that saving the preview as .jwc gives the drawing back with
    // its scale and comments rather than a scale of 0 and none. A loaded
    // drawing's scale is the one its header line 1 stored.
    const HeaderLine1 line1 = ParseHeaderLine1(d.head);
    o.JwcScale = line1.fieldCount > 9 ? line1.scale : d.scale;
    o.Comment1 = d.comment1;
    o.Comment2 = d.comment2;
    const MojiTable& t = d.head.Table;
    for (int n = 1; n <= 10; ++n) {
        TMojiProp& p = *o.MojiProp(n);
        p.Width = static_cast<int16_t>(t.Width[n]) / 10.0;
        p.Height = static_cast<int16_t>(t.Height[n]) / 10.0;
        p.Pitch = static_cast<int16_t>(t.Spacing[n]) / 10.0;
        p.PenNo = static_cast<uint8_t>(t.Pen[n] & 0xFF);
    }
    double scaleOf[16];
    for (int g = 0; g < 16; ++g) {
        TLayerGroup& group = o.LayerGroups[g];
        group.Scale = d.groupScaleFloat[g];
        group.Visible = d.tables.GroupDisplay[g] == 1;
        group.Name = d.groupName(g);
        for (int l = 0; l < 16; ++l) {
            group.Layers[l].Visible = d.tables.LayerDisplay[16 * g + l] == 1;
            group.Layers[l].Name = d.layerName(16 * g + l);
        }
        scaleOf[g] = static_cast<double>(d.unitDivisor) * group.Scale;
    }

    o.Lines.reserve(o.Lines.size() + d.sens().size());
    for (std::size_t i = 0; i < d.sens().size(); ++i) {
        const Sen& r = d.sens()[i];
        const double s = scaleOf[GroupOf(r.Lay)];
        o.AddLine(r.X1 * s, r.Y1 * s, r.X2 * s, r.Y2 * s, LayerOf(r.Lay), GroupOf(r.Lay), r.LineType, r.Color);
    }
    o.Circles.reserve(o.Circles.size() + d.enkos().size());
    for (std::size_t i = 0; i < d.enkos().size(); ++i) {
        const Enko& r = d.enkos()[i];
        const double s = scaleOf[GroupOf(r.Lay)];
        o.AddCircle(r.X * s, r.Y * s, r.R * s, r.Flatness / 10000.0, r.StartAngle * kFixedAngleUnit,
                    r.EndAngle * kFixedAngleUnit, r.Tilt * kFixedAngleUnit, LayerOf(r.Lay), GroupOf(r.Lay),
                    r.LineType, r.Color);
    }
    o.Dots.reserve(o.Dots.size() + d.tens().size());
    for (std::size_t i = 0; i < d.tens().size(); ++i) {
        const Ten& r = d.tens()[i];
        const double s = scaleOf[GroupOf(r.Lay)];
        o.AddDot(r.X * s, r.Y * s, LayerOf(r.Lay), GroupOf(r.Lay), r.Color);
    }
    o.Texts.reserve(o.Texts.size() + d.mojis().size());
    for (std::size_t i = 0; i < d.mojis().size(); ++i) {
        const Moji& r = d.mojis()[i];
        const double s = scaleOf[GroupOf(r.Lay)];
        const auto index = static_cast<int32_t>(i);
        std::string text = index < d.textCount() ? std::string(d.textAt(index)) : std::string();
        o.AddText(r.X1 * s, r.Y1 * s, r.X2 * s, r.Y2 * s, LayerOf(r.Lay), GroupOf(r.Lay), r.MojiNo, std::move(text),
                  (r.Flags & kVerticalTextFlag) == kVerticalTextFlag);
    }
}

}  // namespace tavo
