#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "export/jw_text_layout.h"
#include "viewer/canvas.h"
#include "viewer/view_math.h"

namespace tavo {

// One character to output: bytes [Offset, Offset + Bytes) of the text.
struct PlacedGlyph {
    std::size_t Offset = 0;
    std::size_t Bytes = 1;
    PixelPoint At;
    GlyphFont Font = GlyphFont::Normal;
};

// LayoutJwText on the screen: each glyph's top-left corner rounded to a
// pixel. start: the top-left of the first glyph in unrounded pixels.
std::vector<PlacedGlyph> LayoutGlyphs(std::string_view text, WorldPoint start, double theta, double pitch,
                                      double height);

}  // namespace tavo
