#include "export/sheet_conversion.h"

#include <utility>

#include "base/geometry.h"
#include "export/jw_object.h"
#include "export/layer_byte.h"
#include "settings/settings_record.h"

namespace tavo {

namespace {

// The group's scale as the f32 the products are formed with.
double scaleOf(const TJwObject& d, uint8_t lay) {
    return static_cast<double>(static_cast<float>(d.LayerGroups[GroupOf(lay)].Scale));
}

}  // namespace

void ApplySettings(TJwObject& d, const TSettings& s) {
    d.PlotSize = s.PlotSize;
    d.JwcScale = s.JwcScale;
    for (int g = 0; g < 16; ++g) d.LayerGroups[g].Scale = s.IsSameScale != 0 ? s.JwcScale : s.GroupScale[g];
    for (int n = 1; n <= 10; ++n) {
        TMojiProp& p = *d.MojiProp(n);
        p.PenNo = s.PenNo[n - 1];
        p.Width = s.MojiWidth[n - 1] / 10.0;
        p.Height = s.MojiHeight[n - 1] / 10.0;
        p.Pitch = s.MojiPitch[n - 1] / 10.0;
    }
}

void AddSheetLine(TJwObject& d, float x1, float y1, float x2, float y2, uint8_t color, uint8_t lay,
                  uint8_t lineType) {
    const double s = scaleOf(d, lay);
    d.AddLine(x1 * s, y1 * s, x2 * s, y2 * s, LayerOf(lay), GroupOf(lay), lineType, color);
}

void AddSheetText(TJwObject& d, float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                  std::string text, bool vertical) {
    const double s = scaleOf(d, lay);
    d.AddText(x1 * s, y1 * s, x2 * s, y2 * s, LayerOf(lay), GroupOf(lay), mojiNo, std::move(text), vertical);
}

void AddSheetCircle(TJwObject& d, float x, float y, float r, float flatness, float startAngle, float endAngle,
                    float tilt, uint8_t color, uint8_t lay, uint8_t lineType) {
    const double s = scaleOf(d, lay);
    d.AddCircle(x * s, y * s, r * s, flatness, NormalizedDegrees(startAngle), NormalizedDegrees(endAngle),
                NormalizedDegrees(tilt), LayerOf(lay), GroupOf(lay), lineType, color);
}

void AddSheetSolid(TJwObject& d, float x1, float y1, float x2, float y2, int32_t color, uint8_t lay) {
    const double s = scaleOf(d, lay);
    d.AddSolid(x1 * s, y1 * s, x2 * s, y2 * s, LayerOf(lay), GroupOf(lay), static_cast<uint32_t>(color));
}

}  // namespace tavo
