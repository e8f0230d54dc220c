#pragma once

#include <cstdint>

namespace tavo {

class TJwObject;

// A point or vector of doubles: paper millimetres, or unrounded pixels.
struct WorldPoint {
    double X = 0, Y = 0;
};

// V turned counter-clockwise by `angle` radians.
WorldPoint RotateVector(WorldPoint v, double angle);

// Round half to even, held to what a pixel coordinate can carry: values past
// ±2^28 (and infinities) saturate there and NaN gives 0, so nothing overflows
// downstream however far an entity lies from the view.
int32_t RoundPixel(double v);
// The smallest integer not below v, held to the same range.
int32_t CeilPixel(double v);

// Shown when both the group and its layer are visible; an entity naming a
// group or layer past 15 is never shown.
bool EntityVisible(const TJwObject& drawing, uint8_t group, uint8_t layer);

}  // namespace tavo
