#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "base/geometry.h"

namespace tavo {

class TJwObject;

// 2^28: sums of a few such values (centre plus radius, minus the origin)
// still fit in 32 bits.
constexpr double kPixelLimit = 268435456.0;

// Round half to even, held to what a pixel coordinate can carry: values past
// ±2^28 (and infinities) saturate there and NaN gives 0, so nothing overflows
// downstream however far an entity lies from the view. Inline and without
// a library call: a paint rounds millions of coordinates.
inline int32_t RoundPixel(double v) {
    if (v != v) return 0;
    v = v > kPixelLimit ? kPixelLimit : v < -kPixelLimit ? -kPixelLimit : v;
#if FLT_EVAL_METHOD == 0
    // Adding and taking away 1.5 * 2^52 leaves v rounded to an integer in
    // the current rounding mode, halves to even by default, as nearbyint
    // does; it needs arithmetic in plain doubles, not in wider registers.
    constexpr double kShift = 6755399441055744.0;
    return static_cast<int32_t>((v + kShift) - kShift);
#else
    return static_cast<int32_t>(std::nearbyint(v));
#endif
}
// The smallest integer not below v, held to the same range.
int32_t CeilPixel(double v);

// Shown when both the group and its layer are visible; an entity naming a
// group or layer past 15 is never shown.
bool EntityVisible(const TJwObject& drawing, uint8_t group, uint8_t layer);

}  // namespace tavo
