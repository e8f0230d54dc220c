#include "workbook/border_pens.h"

#include "jwc/jwc_records.h"

namespace tavo::workbook {

int NearestPaletteIndex(uint32_t rgb) {
    const auto channel = [](uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    int best = 1;
    long bestDistance = -1;
    // Indices 17 to 32 have no swatch in the dialog and mostly repeat
    // others: they are tried last, so a tie goes to a swatch.
    std::array<std::size_t, 56> order{};
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k < 16 ? k : k < 40 ? k + 16 : k - 24;
    for (std::size_t i : order) {
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
