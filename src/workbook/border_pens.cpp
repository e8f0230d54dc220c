#include "workbook/border_pens.h"

#include "jwc/jwc_records.h"

namespace tavo::workbook {

const std::array<uint8_t, 56>& PaletteSearchOrder() {
    static const std::array<uint8_t, 56> order = [] {
        std::array<uint8_t, 56> o{};
        for (std::size_t k = 0; k < o.size(); ++k) o[k] = static_cast<uint8_t>(k < 16 ? k + 1 : k < 40 ? k + 17 : k - 23);
        return o;
    }();
    return order;
}

int NearestPaletteIndex(uint32_t rgb) {
    const auto channel = [](uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    int best = 1;
    long bestDistance = -1;
    for (const uint8_t index : PaletteSearchOrder()) {
        const std::size_t i = index - 1U;
        long d = 0;
        for (int shift : {16, 8, 0}) {
            const long diff = channel(rgb, shift) - channel(kSheetPalette[i], shift);
            d += diff * diff;
        }
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i) + 1;
        }
    }
    return best;
}

uint8_t LinePen(const SheetColor& color, uint8_t automaticPen, const TavoSettings& settings) {
    // Settings that name no pen (0 for a colour without a swatch, or a
    // hand-edited file) would give a drawing that readers refuse.
    const uint8_t fallback = KnownPen(automaticPen) ? automaticPen : 1;
    if (color.automatic) return fallback;
    const uint8_t pen = settings.BColorIndex[NearestPaletteIndex(color.rgb) - 1];
    return KnownPen(pen) ? pen : fallback;
}

uint8_t BorderPen(const SheetColor& color, const TavoSettings& settings) {
    return LinePen(color, settings.SenColor, settings);
}

uint8_t BorderLineType(BorderStyle style, const TavoSettings& settings) {
    const auto s = static_cast<std::size_t>(style);
    const uint8_t type = s >= 1 && s <= 13 ? settings.BTypeIndex[s - 1] : 1;
    return KnownLineType(type) ? type : 1;
}

}  // namespace tavo::workbook
