#include "settings/jwc_from_settings.h"

#include "jwc/jwc_session.h"

namespace tavo {

std::unique_ptr<TJwcFile> MakeJwcFromSettings(const TSettings& s) {
    auto d = std::make_unique<TJwcFile>();
    d->paperSize = s.PlotSize;
    d->scale = s.JwcScale;
    d->unitDivisor = UnitDivisorFor(s.PlotSize);
    ShowAllLayersAndGroups(*d);
    for (int g = 0; g < 16; ++g) SetGroupScale(*d, g, s.IsSameScale != 0 ? s.JwcScale : s.GroupScale[g]);
    MojiTable& t = d->head.Table;
    for (int row = 1; row <= 10; ++row) {
        t.Pen[row] = s.PenNo[row - 1];
        t.Width[row] = static_cast<uint16_t>(s.MojiWidth[row - 1]);
        t.Height[row] = static_cast<uint16_t>(s.MojiHeight[row - 1]);
        t.Spacing[row] = static_cast<uint16_t>(s.MojiPitch[row - 1]);
    }
    return d;
}

}  // namespace tavo
