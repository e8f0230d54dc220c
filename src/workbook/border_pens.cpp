#include "workbook/border_pens.h"

namespace tavo::workbook {

const std::array<uint32_t, 56> kSheetPalette{
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,  // 1-8
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,  // 9-16
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,  // 17-24
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,  // 25-32
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,  // 33-40
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,  // 41-48
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,  // 49-56
};

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

uint8_t BorderPen(const SheetColor& color, const TavoSettings& settings) {
    if (color.automatic) return settings.SenColor;
    const uint8_t pen = settings.BColorIndex[NearestPaletteIndex(color.rgb) - 1];
    return pen == 0 ? settings.SenColor : pen;
}

uint8_t BorderLineType(BorderStyle style, const TavoSettings& settings) {
    const auto s = static_cast<std::size_t>(style);
    return s >= 1 && s <= 13 ? settings.BTypeIndex[s - 1] : 1;
}

}  // namespace tavo::workbook
