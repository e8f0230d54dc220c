#pragma once

#include <cstdint>

namespace tavo {

// Colours in DXF: the AutoCAD Color Index (ACI, 1 to 255) and true colour
// as 0xRRGGBB.

// The ACI colour of a JW pen: pens 1 to 6 as JW_CAD shows them on its dark
// screen (1 cyan 4, 2 white 7, 3 green 3, 4 yellow 2, 5 magenta 6, 6 blue 5),
// pens 7 to 9 as the preview's olive 54, violet 190 and pink 211; any other
// number draws as pen 2, as in the preview.
int AciOfPen(int pen);

// The ACI colour nearest to a true colour (1 to 255; ties to the lower).
int NearestAci(uint32_t rgb);

// The true colour of an ACI colour, 0 to 255.
uint32_t AciRgb(int aci);

// A Windows colour value (red in the lowest byte) as 0xRRGGBB; its highest
// byte is dropped.
inline uint32_t RgbOfWinColor(uint32_t color) {
    return (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}

}  // namespace tavo
