#include "export/export_jwc_writer.h"

#include <algorithm>
#include <cmath>

#include "base/geometry.h"
#include "base/jw_text.h"
#include "export/jw_object.h"
#include "export/layer_byte.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_writer.h"

namespace tavo {

namespace {

// Degrees in fixed point from 0 up to a whole turn: an angle that rounds to
// 360 degrees is 0, one that is no number 0.
int32_t FixedAngle(double degrees) {
    const double turned = NormalizedDegrees(degrees);
    if (!std::isfinite(turned)) return 0;
    return NormalizedFixedAngle(static_cast<int32_t>(RoundHalfEven(turned * 65536)));
}

// A text that is empty up to its first NUL, where the pool ends it.
bool leftOut(const std::string& text) { return text.empty() || text[0] == '\0'; }

// A base line of zero length: as long as the text is drawn, or one
// character wide when its spacing swallows it, or one drawing unit when
// nothing gives a length.
void giveBaseLine(Moji& m, const TTextItem& t, const TJwObject& o, float unitDivisor) {
    const TMojiProp* size = o.MojiProp(t.MojiNo);
    double mm = size ? DrawnTextLength(t.Text, size->Width, size->Pitch) : 0;
    if (!(mm > 0) && size) mm = size->Width;
    const double units = mm > 0 ? mm / unitDivisor : 1;
    if (t.Vertical)
        m.Y2 = static_cast<float>(m.Y1 - units);
    else
        m.X2 = static_cast<float>(m.X1 + units);
    // So far from the origin that the length is lost in the rounding: the next float.
    if (m.X1 == m.X2 && m.Y1 == m.Y2) {
        if (t.Vertical)
            m.Y2 = std::nextafter(m.Y1, -HUGE_VALF);
        else
            m.X2 = std::nextafter(m.X1, HUGE_VALF);
    }
}

}  // namespace

int64_t TextsLeftOutOfJwc(const TJwObject& o) {
    return std::count_if(o.Texts.begin(), o.Texts.end(), [](const TTextItem& t) { return leftOut(t.Text); });
}

std::unique_ptr<TJwcFile> MakeJwcFromExport(const TJwObject& o) {
    auto d = std::make_unique<TJwcFile>();
    d->comment1 = o.Comment1;
    d->comment2 = o.Comment2;
    d->paperSize = o.PlotSize;
    d->scale = static_cast<int32_t>(RoundHalfEven(o.JwcScale));
    d->unitDivisor = UnitDivisorFor(o.PlotSize);
    ShowAllLayersAndGroups(*d);

    double divisorOf[16];
    for (int g = 0; g < 16; ++g) {
        d->groupScaleInt[g] = static_cast<int16_t>(RoundHalfEven(o.LayerGroups[g].Scale));
        divisorOf[g] = static_cast<double>(d->unitDivisor) * GroupScaleOf(o, static_cast<uint8_t>(g));
    }
    MojiTable& t = d->head.Table;
    for (int n = 1; n <= 10; ++n) {
        const TMojiProp& p = *o.MojiProp(n);
        t.Pen[n] = p.PenNo;
        t.Width[n] = static_cast<uint16_t>(RoundHalfEven(p.Width * 10));
        t.Height[n] = static_cast<uint16_t>(RoundHalfEven(p.Height * 10));
        t.Spacing[n] = static_cast<uint16_t>(RoundHalfEven(p.Pitch * 10));
    }

    const auto units = [&](double value, uint8_t group) { return static_cast<float>(value / divisorOf[group]); };
    for (const TLineItem& l : o.Lines) {
        d->addSen() = Sen{units(l.X1, l.Group), units(l.Y1, l.Group), units(l.X2, l.Group), units(l.Y2, l.Group),
                          l.LineType, l.Color, LayerByte(l.Group, l.Layer), 0, 0};
    }
    for (const TCircleItem& c : o.Circles) {
        d->addEnko() = Enko{units(c.X, c.Group), units(c.Y, c.Group), units(c.R, c.Group),
                            static_cast<uint16_t>(RoundHalfEven(c.Flatness * 10000)),
                            FixedAngle(c.StartAngle), FixedAngle(c.EndAngle), FixedAngle(c.Tilt),
                            c.LineType, c.Color, LayerByte(c.Group, c.Layer), 0, 0};
    }
    for (const TDotItem& p : o.Dots)
        d->addTen() = Ten{units(p.X, p.Group), units(p.Y, p.Group), LayerByte(p.Group, p.Layer), p.Color, 0};
    int64_t offset = 0;
    for (const TTextItem& m : o.Texts) {
        if (leftOut(m.Text)) continue;
        d->appendText(m.Text);
        Moji& r = d->addMoji();
        r = Moji{units(m.X1, m.Group), units(m.Y1, m.Group), units(m.X2, m.Group), units(m.Y2, m.Group),
                 static_cast<int32_t>(offset), m.MojiNo, LayerByte(m.Group, m.Layer),
                 static_cast<uint16_t>(m.Vertical ? kVerticalTextFlag : 0)};
        if (r.X1 == r.X2 && r.Y1 == r.Y2) giveBaseLine(r, m, o, d->unitDivisor);
        offset += static_cast<int64_t>(m.Text.size()) + 1;
    }
    d->textAreaLength = static_cast<int32_t>(offset);
    return d;
}

void SaveExportAsJwc(const TJwObject& drawing, const std::string& path) {
    std::unique_ptr<TJwcFile> jwc = MakeJwcFromExport(drawing);
    SaveJwcFile(*jwc, path);
}

}  // namespace tavo
