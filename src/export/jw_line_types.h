#pragma once

#include <cstdint>

namespace tavo {

// JW_CAD's line types 1 to 9 as 32-bit dot patterns: 1 draws, 0 leaves a
// gap. A line starts at bit 1 and goes on to bit 31, then bit 0. Type 1 is
// solid, and so is any number outside 1 to 9.
constexpr int kJwLineTypes = 9;
uint32_t JwLineTypePattern(int type);
inline int UsableLineType(int type) { return type >= 1 && type <= kJwLineTypes ? type : 1; }

}  // namespace tavo
