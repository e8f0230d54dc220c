#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "base/jw_text.h"

namespace tavo {

// How JW texts lay out: cells, the pitch of a text and the "^" escapes.
// The preview paints by it, and the DXF writer places its texts by it.

// Whether the text holds an escape that changes how a character is placed.
bool HasTextEscapes(std::string_view text);

struct TextPitchResult {
    double Pitch = 0;   // advance per half-width cell
    std::string Text;   // what is drawn: the text without trailing middle dots
};

// Drops a trailing half-width middle dot once and full-width ones as long as
// they last; the remaining characters are spread over the length the whole
// text would have taken. W and P: width and pitch.
TextPitchResult TextPitch(std::string_view text, double width, double pitch);

enum class GlyphFont : uint8_t { Normal, SmallOneByte, SmallTwoByte };

// One character placed: bytes [Offset, Offset + Bytes) of the text, its
// top-left corner (unrounded, y growing downwards as on the screen) and the
// escape that placed it (0 for none; u 1, d 2, c 3, o 4, b 5, B 6).
struct JwGlyph {
    std::size_t Offset = 0;
    std::size_t Bytes = 1;
    WorldPoint At;
    GlyphFont Font = GlyphFont::Normal;
    int Escape = 0;
};

// Places each character of `text` from `start` (the top-left of the first
// glyph), applying the escapes. theta: direction of the base line in
// radians; pitch: advance per cell; height: text height.
std::vector<JwGlyph> LayoutJwText(std::string_view text, WorldPoint start, double theta, double pitch,
                                  double height);

}  // namespace tavo
