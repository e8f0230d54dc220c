#include "export/jw_text_layout.h"

#include <cmath>

#include "base/jw_text.h"
#include "base/sjis_char.h"

namespace tavo {

namespace {

// Offset of the last character, walking from the start; npos when empty.
std::size_t LastCharOffset(std::string_view text) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharBytesAt(text, i)) last = i;
    return last;
}

const char kHalfWidthMiddleDot = '\xA5';
const std::string_view kFullWidthMiddleDot = "\x81\x45";  // "・"

}  // namespace

bool HasTextEscapes(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += CharBytesAt(text, i))
        if (EscapeAt(text, i)) return true;
    return false;
}

TextPitchResult TextPitch(std::string_view text, double width, double pitch) {
    const int allCells = TextCells(text);
    std::string_view shown = text;
    std::size_t last = LastCharOffset(shown);
    if (last != std::string_view::npos && shown.size() - last == 1 && shown[last] == kHalfWidthMiddleDot) {
        shown.remove_suffix(1);
        last = LastCharOffset(shown);
    }
    while (last != std::string_view::npos && shown.substr(last) == kFullWidthMiddleDot) {
        shown.remove_suffix(2);
        last = LastCharOffset(shown);
    }
    TextPitchResult r;
    r.Pitch = (width + pitch) * 0.5;
    const int shownCells = TextCells(shown);
    // With one cell left (or none) there is no gap to widen: plain pitch.
    if (allCells > shownCells && shownCells > 1) r.Pitch = (allCells - 1) * r.Pitch / (shownCells - 1);
    r.Text = std::string(shown);
    return r;
}

std::vector<JwGlyph> LayoutJwText(std::string_view text, WorldPoint start, double theta, double pitch,
                                  double height) {
    std::vector<JwGlyph> glyphs;
    const WorldPoint advance{std::cos(theta) * pitch, -std::sin(theta) * pitch};
    WorldPoint p = start;
    int mode = 0;
    std::size_t overlaid = 1;   // bytes of the character an escape lays over
    std::size_t lastBytes = 1;  // bytes of the character last drawn
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t cb = CharBytesAt(text, i);
        if (cb == 1) {
            if (const int m = EscapeAt(text, i)) {
                mode = m;
                overlaid = lastBytes;
                i += 2;
                continue;
            }
        }
        WorldPoint w{0, 0};
        switch (mode) {
            case 2: w = RotateVector({0, height * 0.5}, -theta); break;
            case 3: w = RotateVector({0, height * 0.25}, -theta); break;
            case 4: {
                const double f = overlaid == 1 ? 1.0 : 1.5;
                w = RotateVector({-f * pitch, height * 0.25}, -theta);
                break;
            }
            case 5:
            case 6: {
                const double g = mode == 5 ? (overlaid == 1 ? -0.6 : -1.2) : (overlaid == 1 ? -0.75 : -1.5);
                w = {g * advance.X, g * advance.Y};
                break;
            }
            default: break;
        }
        p.X += w.X;
        p.Y += w.Y;
        JwGlyph g;
        g.Offset = i;
        g.Bytes = cb;
        g.At = p;
        g.Escape = mode;
        if (mode >= 1 && mode <= 4) g.Font = cb == 1 ? GlyphFont::SmallOneByte : GlyphFont::SmallTwoByte;
        glyphs.push_back(g);
        if (mode == 0) {
            p.X += static_cast<double>(cb) * advance.X;
            p.Y += static_cast<double>(cb) * advance.Y;
        } else if (mode <= 3) {
            p.X += advance.X - w.X;
            p.Y += advance.Y - w.Y;
        } else {
            p.X -= w.X;
            p.Y -= w.Y;
        }
        mode = 0;
        lastBytes = cb;
        i += cb;
    }
    return glyphs;
}

}  // namespace tavo
