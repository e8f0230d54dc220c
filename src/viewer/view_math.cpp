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

int32_t CeilPixel(double v) { return static_cast<int32_t>(std::ceil(held(v))); }

bool EntityVisible(const TJwObject& drawing, uint8_t group, uint8_t layer) {
    if (group >= drawing.LayerGroups.size()) return false;
    const TLayerGroup& g = drawing.LayerGroups[group];
    return g.Visible && layer < g.Layers.size() && g.Layers[layer].Visible;
}

}  // namespace tavo
