#include "base/geometry.h"

#include <cmath>
#include <cstdint>

namespace tavo {

int32_t PaperLength(int32_t plotSize) {
    switch (plotSize) {
        case 0: return 1189;
        case 1: return 841;
        case 2: return 594;
        case 3: return 420;
        default: return 297;
    }
}

double DirectionOf(double dx, double dy) {
    if (dy == 0) return dx >= 0 ? 0.0 : kPi;
    if (dx == 0) return dy > 0 ? kPi / 2 : 3 * kPi / 2;
    const double a = std::atan(dy / dx);
    if (dx < 0) return a + kPi;
    return dy > 0 ? a : a + 2 * kPi;
}

double NormalizedDegrees(double degrees) {
    if (!std::isfinite(degrees) || (degrees >= 0 && degrees < 360)) return degrees;
    const double rest = std::fmod(degrees, 360.0);
    const double turned = rest < 0 ? rest + 360 : rest;
    return turned < 360 ? turned : 0;  // a tiny negative rest rounds up to a whole turn
}

int64_t RoundHalfEven(double value) {
    // Out of range and NaN would be undefined in the cast; saturate instead.
    if (std::isnan(value)) return 0;
    if (value >= 9.2233720368547758e18) return INT64_MAX;
    if (value <= -9.2233720368547758e18) return INT64_MIN;
    return static_cast<int64_t>(std::nearbyint(value));
}

WorldPoint RotateVector(WorldPoint v, double angle) {
    if (v.X == 0 && v.Y == 0) return v;
    const double c = std::cos(angle), s = std::sin(angle);
    return {v.X * c - v.Y * s, v.X * s + v.Y * c};
}

}  // namespace tavo
