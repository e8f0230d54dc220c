#include "export/dxf_text.h"

#include <cmath>

#include "base/sjis_char.h"
#include "export/jw_text_layout.h"

namespace tavo {

namespace {


WorldPoint plus(WorldPoint a, WorldPoint b) { return {a.X + b.X, a.Y + b.Y}; }

// The glyphs' frame is the preview's screen: y grows downwards.
WorldPoint onScreen(WorldPoint p) { return {p.X, -p.Y}; }

class TextPieces {
public:
    TextPieces(const DxfTextFrame& frame, DxfProfile profile, DxfEntity& e, DxfEntitySink& sink)
        : f_(frame), profile_(profile), e_(e), sink_(sink) {}

    // One TEXT from the base point along the base line, fitted to `length`
    // when it has one.
    void whole(std::string_view text, double length) {
        if (text.empty()) return;
        const bool fit = length > 0;
        put(text, f_.Base, f_.Theta, f_.Height, widthFactor(GlyphFont::Normal),
            fit ? plus(f_.Base, RotateVector({length, 0}, f_.Theta)) : f_.Base, fit);
    }

    // Glyph by glyph as the preview lays them out; with `runs`, plain
    // characters that follow each other stay together in fitted TEXTs.
    void glyphs(const TextPitchResult& fitted, bool runs) {
        const std::string_view shown = fitted.Text;
        const WorldPoint d = RotateVector(f_.Vertical ? WorldPoint{0, 0} : WorldPoint{0, -f_.Height}, f_.Theta);
        const WorldPoint start = onScreen(f_.Base);
        const WorldPoint reference{start.X - d.X, start.Y + d.Y};
        const double turn = f_.Vertical ? kPi / 2 : 0;

        std::size_t runFrom = 0, runBytes = 0;
        WorldPoint runAt;
        const auto endRun = [&] {
            if (runBytes == 0) return;
            const double length = static_cast<double>(runBytes) * fitted.Pitch;
            put(shown.substr(runFrom, runBytes), runAt, f_.Theta, f_.Height, widthFactor(GlyphFont::Normal),
                plus(runAt, RotateVector({length, 0}, f_.Theta)), length > 0);
            runBytes = 0;
        };
        for (const JwGlyph& g : LayoutJwText(shown, reference, f_.Theta, fitted.Pitch, f_.Height)) {
            const double height = g.Font == GlyphFont::Normal ? f_.Height : f_.Height / 2;
            const WorldPoint bottomLeft = plus(onScreen(g.At), RotateVector({0, -height}, f_.Theta + turn));
            if (runs && g.Escape == 0) {
                if (runBytes == 0) {
                    runFrom = g.Offset;
                    runAt = bottomLeft;
                }
                runBytes += g.Bytes;
                continue;
            }
            endRun();
            put(shown.substr(g.Offset, g.Bytes), bottomLeft, f_.Theta + turn, height, widthFactor(g.Font), bottomLeft,
                false);
        }
        endRun();
    }

private:
    // The preview's fonts are as wide as the size's width over its height
    // (no width keeps the font's own); the small font of a one-byte
    // character keeps the full width.
    double widthFactor(GlyphFont font) const {
        if (f_.Height <= 0 || f_.Width == 0) return 1;
        return (font == GlyphFont::SmallOneByte ? 2 : 1) * std::fabs(f_.Width) / f_.Height;
    }

    void put(std::string_view text, WorldPoint at, double theta, double height, double width, WorldPoint end,
             bool fit) {
        e_.Kind = DxfKind::Text;
        e_.Points.assign({at});
        if (fit) e_.Points.push_back(end);
        e_.Fit = fit;
        e_.Height = height;
        e_.WidthFactor = width;
        e_.Rotation = std::fmod(theta * kDegreesPerRadian, 360.0);
        e_.Text = DxfTextBytes(text, profile_);
        sink_.Entity(e_);
    }

    const DxfTextFrame& f_;
    DxfProfile profile_;
    DxfEntity& e_;
    DxfEntitySink& sink_;
};

}  // namespace

void EmitDxfText(std::string_view text, const DxfTextFrame& frame, DxfProfile profile, DxfEntity& e,
                 DxfEntitySink& sink) {
    TextPieces pieces(frame, profile, e, sink);
    if (profile == DxfProfile::Jw && !frame.Vertical) {
        pieces.whole(text, 0);
        return;
    }
    const TextPitchResult fitted = TextPitch(text, frame.Width, frame.Pitch);
    // A text spread over its dropped middle dots keeps its glyphs' width
    // between them, which one fitted TEXT would stretch.
    const bool spread = fitted.Text.size() != text.size();
    if (frame.Vertical || spread || HasTextEscapes(fitted.Text))
        pieces.glyphs(fitted, !frame.Vertical && !spread);
    else
        pieces.whole(fitted.Text, TextCells(fitted.Text) * fitted.Pitch);
}

std::string DxfTextBytes(std::string_view sjis, DxfProfile profile) {
    std::string out;
    out.reserve(sjis.size());
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const char c = sjis[i];
        const auto byte = static_cast<unsigned char>(c);
        if (IsSjisLeadByte(byte)) {
            // A lead byte without its trail would swallow what follows it,
            // the line end too, in a reader of code page 932.
            if (i + 1 < sjis.size() && IsSjisTrailByte(static_cast<unsigned char>(sjis[i + 1]))) {
                out.append(sjis.substr(i, 2));
                ++i;
            } else {
                out += '?';
            }
        } else if (byte < 0x20) {
            if (profile == DxfProfile::Jw) {
                out += ' ';
            } else {
                out += '^';
                out += static_cast<char>(c + 64);
            }
        } else if (c == '^' && profile != DxfProfile::Jw) {
            out += "^ ";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace tavo
