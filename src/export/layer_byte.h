#pragma once

#include <cstdint>

namespace tavo {

// A layer byte holds the group in its high nibble and the layer in its low one.
inline uint8_t GroupOf(uint8_t lay) { return static_cast<uint8_t>(lay >> 4); }
inline uint8_t LayerOf(uint8_t lay) { return static_cast<uint8_t>(lay & 15); }
inline uint8_t LayerByte(uint8_t group, uint8_t layer) { return static_cast<uint8_t>(group * 16 + layer); }

}  // namespace tavo
