#pragma once

#include <array>
#include <cstdint>

#include "export/jw_line_types.h"
#include "viewer/canvas.h"

namespace tavo {

// Red, for highlighted entities and the selection rectangle.
constexpr WinColor kRed = 0x0000FF;

// A JW line type: bit 0 of the pattern first, 1 draws, 0 leaves a gap;
// `DotUnit` pixels per bit.
struct TLineType {
    uint32_t Pattern = 0xFFFFFFFF;
    int32_t DotUnit = 0;
};

// Entry 0 is the background, 1 to 9 the colours of JW pens 1 to 9.
using TColorTable = std::array<WinColor, 10>;
// JW line types 1 to 9 at indexes 0 to 8.
using TLineTypes = std::array<TLineType, 9>;

TColorTable DefaultColorTable();
TLineTypes DefaultLineTypes();

// Pen numbers outside 1 to 9 draw as pen 2 (black), line types outside 1
// to 9 as type 1 (solid).
inline int UsablePen(int pen) { return pen >= 1 && pen <= 9 ? pen : 2; }

// Bit `bit` (0 to 31) of a pattern.
inline bool PatternBit(uint32_t pattern, int bit) { return (pattern >> bit) & 1u; }
// The bit after `bit`: 1 to 31, then 0.
inline int NextPatternBit(int bit) { return (bit + 1) & 31; }

}  // namespace tavo
