#include "viewer/view_math.h"

#include <cmath>

#include "base/geometry.h"
#include "export/jw_object.h"

namespace tavo {

namespace {
double held(double v) {
    if (std::isnan(v)) return 0;
    if (v > kPixelLimit) return kPixelLimit;
    if (v < -kPixelLimit) return -kPixelLimit;
    return v;
}
}  // namespace

WorldPoint RotateVector(WorldPoint v, double angle) {
    if (v.X == 0 && v.Y == 0) return v;
    const double c = std::cos(angle), s = std::sin(angle);
    return {v.X * c - v.Y * s, v.X * s + v.Y * c};
}

int32_t CeilPixel(double v) { return static_cast<int32_t>(std::ceil(held(v))); }

bool EntityVisible(const TJwObject& drawing, uint8_t group, uint8_t layer) {
    if (group >= drawing.LayerGroups.size()) return false;
    const TLayerGroup& g = drawing.LayerGroups[group];
    return g.Visible && layer < g.Layers.size() && g.Layers[layer].Visible;
}

}  // namespace tavo
