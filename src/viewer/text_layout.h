#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/jw_text.h"
#include "viewer/canvas.h"
#include "viewer/view_math.h"

namespace tavo {

struct TextPitchResult {
    double Pitch = 0;   // advance per half-width cell, pixels
    std::string Text;   // what is drawn: the text without trailing middle dots
};

// Drops a trailing half-width middle dot once and full-width ones as long as
// they last; the remaining characters are spread over the length the whole
// text would have taken. W and P: width and pitch in pixels.
TextPitchResult TextPitch(std::string_view text, double width, double pitch);

enum class GlyphFont : uint8_t { Normal, SmallOneByte, SmallTwoByte };

// One character to output: bytes [Offset, Offset + Bytes) of the text.
struct PlacedGlyph {
    std::size_t Offset = 0;
    std::size_t Bytes = 1;
    PixelPoint At;
    GlyphFont Font = GlyphFont::Normal;
};

// Places each character of `text` from the reference point `start` (the
// top-left of the first glyph, unrounded pixels), applying the "^" escapes.
// theta: direction of the base line in radians; pitch: advance per cell;
// height: text height in pixels.
std::vector<PlacedGlyph> LayoutGlyphs(std::string_view text, WorldPoint start, double theta, double pitch,
                                      double height);

}  // namespace tavo
