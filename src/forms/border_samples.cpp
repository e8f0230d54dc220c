// The 13 border-style samples of the line type page, drawn as the
// spreadsheet draws its borders: dash patterns in pixels along one, two or
// three rows, or two thin lines for the double border.
#include <vector>

#include "forms/config_design.h"

namespace tavo {

namespace {

struct BorderLook {
    std::vector<int> Dashes;  // on, off, on, off ... pixels; empty: solid
    int Thickness;
    bool Slanted;  // the dashes of the lower row start one pixel later
    bool Double;
};

const BorderLook& LookOf(int style) {
    static const BorderLook kLooks[13] = {
        {{1, 1}, 1, false, false},              // 1 fine dotted
        {{2, 2}, 1, false, false},              // 2 dotted
        {{9, 3, 3, 3, 3, 3}, 1, false, false},  // 3 dash-dot-dot
        {{9, 3, 3, 3}, 1, false, false},        // 4 dash-dot
        {{4, 2}, 1, false, false},              // 5 dashed
        {{}, 1, false, false},                  // 6 thin solid
        {{9, 3, 3, 3, 3, 3}, 2, false, false},  // 7 medium dash-dot-dot
        {{11, 2, 4, 2}, 2, true, false},        // 8 slanted dash-dot
        {{9, 3, 3, 3}, 2, false, false},        // 9 medium dash-dot
        {{9, 3}, 2, false, false},              // 10 medium dashed
        {{}, 2, false, false},                  // 11 medium solid
        {{}, 3, false, false},                  // 12 thick solid
        {{}, 1, false, true},                   // 13 double
    };
    return kLooks[style - 1];
}

bool DashOn(const std::vector<int>& dashes, int x) {
    if (dashes.empty()) return true;
    int period = 0;
    for (int d : dashes) period += d;
    if (period <= 0) return true;
    int at = x % period;
    for (std::size_t i = 0; i < dashes.size(); ++i) {
        if (at < dashes[i]) return i % 2 == 0;
        at -= dashes[i];
    }
    return false;
}

}  // namespace

Picture BorderStyleSample(int style) {
    constexpr WinColor kPaper = 0xFFFFFF, kInk = 0x000000;
    Picture p{kBorderSampleWidth, kBorderSampleHeight,
              std::vector<WinColor>(std::size_t(kBorderSampleWidth) * kBorderSampleHeight, kPaper)};
    if (style < 1 || style > 13) return p;
    const BorderLook& look = LookOf(style);
    const auto set = [&](int x, int y) { p.Pixels[std::size_t(y) * kBorderSampleWidth + std::size_t(x)] = kInk; };
    const int middle = kBorderSampleHeight / 2;
    if (look.Double) {
        for (int x = 2; x < kBorderSampleWidth - 2; ++x) {
            set(x, middle - 2);
            set(x, middle + 1);
        }
        return p;
    }
    const int top = middle - look.Thickness / 2;
    for (int row = 0; row < look.Thickness; ++row) {
        const int shift = look.Slanted && row > 0 ? 1 : 0;
        for (int x = 2; x < kBorderSampleWidth - 2; ++x)
            if (DashOn(look.Dashes, x - 2 - shift + 64)) set(x, top + row);
    }
    return p;
}

}  // namespace tavo
