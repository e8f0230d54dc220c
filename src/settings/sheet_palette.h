#pragma once

#include <array>
#include <cstdint>

namespace tavo {

// The spreadsheet's 56-colour palette: entry k-1 is colour index k, as
// 0xRRGGBB. The settings' BColorIndex gives a pen for each index; the
// settings dialog shows 40 of them as swatches.
extern const std::array<uint32_t, 56> kSheetPalette;

}  // namespace tavo
