#pragma once

#include <array>
#include <cstdint>

#include "settings/sheet_palette.h"
#include "tavo.h"
#include "workbook/sheet_model.h"

namespace tavo::workbook {

// Palette indices (1..56) in the order the nearest colour is looked for:
// the 40 with a swatch in the dialog first, then the 16 without (17 to 32,
// which mostly repeat others), each part in index order.
const std::array<uint8_t, 56>& PaletteSearchOrder();

// Colour index (1..56) of the palette colour nearest to `rgb`; on a tie the
// index first in PaletteSearchOrder wins.
int NearestPaletteIndex(uint32_t rgb);

// The pen of a line: its colour's palette index through BColorIndex; an
// automatic colour, or an entry that is no pen (0 and past 9), takes
// `automaticPen`, and pen 1 when that is none.
uint8_t LinePen(const SheetColor& color, uint8_t automaticPen, const TavoSettings& settings);

// A border's: the automatic pen is SenColor.
uint8_t BorderPen(const SheetColor& color, const TavoSettings& settings);

// The JW line type of a border style through BTypeIndex; an entry whose low
// four bits are no type (0 and past 9) gives type 1, solid.
uint8_t BorderLineType(BorderStyle style, const TavoSettings& settings);

}  // namespace tavo::workbook
