#pragma once

#include <array>
#include <cstdint>

#include "viewer/canvas.h"
#include "viewer/view_math.h"
#include "viewer/viewer_tables.h"

namespace tavo {

class TJwObject;

// Pixel metrics of one text size at the current scale.
struct TTextMetrics {
    int32_t HeightPx = 0, WidthPx = 0, PitchPx = 0;
    double WidthReal = 0, PitchReal = 0;  // unrounded
    WinColor Color = 0;
};

// What every paint works out first from the tables and the scale.
struct TPaintCache {
    WinColor Background = 0xFFFFFF;
    std::array<WinColor, 10> PenColor{};  // pens 1 to 9
    std::array<int32_t, 10> PenWidth{};   // 0: a one-pixel pen
    std::array<int32_t, 10> DotUnit{};    // line types 1 to 9
    // Text sizes 1 to 10; entry 0 serves every other size: it has no extent,
    // so such texts draw nothing and are never hit.
    std::array<TTextMetrics, 11> Text{};

    WinColor Pen(int pen) const { return PenColor[UsablePen(pen)]; }
    const TTextMetrics& TextSize(int k) const { return k >= 1 && k <= 10 ? Text[k] : Text[0]; }
};

TPaintCache FillPaintCache(const TJwObject& drawing, double pixelScale, const TColorTable& colors,
                           const TLineTypes& lineTypes);

// Everything a pass needs besides the canvas.
struct TRenderContext {
    const TJwObject& Drawing;
    const TPaintCache& Cache;
    const TLineTypes& LineTypes;
    PixelRect Clip;
    WorldPoint Origin;
    double PixelScale;
    bool Highlight;  // selected entities are drawn red

    template <class Item>
    bool Highlighted(const Item& item) const {
        return Highlight && item.Selected;
    }
};

}  // namespace tavo
