#include "viewer/text_layout.h"

namespace tavo {

std::vector<PlacedGlyph> LayoutGlyphs(std::string_view text, WorldPoint start, double theta, double pitch,
                                      double height) {
    std::vector<PlacedGlyph> placed;
    for (const JwGlyph& g : LayoutJwText(text, start, theta, pitch, height))
        placed.push_back(PlacedGlyph{g.Offset, g.Bytes, {RoundPixel(g.At.X), RoundPixel(g.At.Y)}, g.Font});
    return placed;
}

}  // namespace tavo
