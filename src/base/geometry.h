#pragma once

#include <cstdint>

namespace tavo {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegreesPerRadian = 180.0 / kPi;

inline double Radians(double degrees) { return degrees * kPi / 180.0; }

// Long side of the landscape sheet in millimetres for paper-size index 0 to 4
// (A0 to A4); every other index gives A4.
int32_t PaperLength(int32_t plotSize);

// Direction of the vector (dx, dy) in radians, 0 up to but not including 2π.
double DirectionOf(double dx, double dy);

// Direction of the segment from (x1, y1) to (x2, y2).
inline double SegmentAngle(double x1, double y1, double x2, double y2) {
    return DirectionOf(x2 - x1, y2 - y1);
}

// An angle in degrees as the same direction from 0 up to 360; equal angles
// stay equal. Not-a-number and infinities come back as given.
double NormalizedDegrees(double degrees);

// The runtime's Round: halves go to the even neighbour.
int64_t RoundHalfEven(double value);

// A point or vector of doubles: millimetres, or unrounded pixels.
struct WorldPoint {
    double X = 0, Y = 0;
};

// V turned counter-clockwise by `angle` radians.
WorldPoint RotateVector(WorldPoint v, double angle);

}  // namespace tavo
