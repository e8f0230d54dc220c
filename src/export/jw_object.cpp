#include "export/jw_object.h"

#include <utility>

#include "base/ascii_case.h"

namespace tavo {

// "ＭＳ ゴシック"
const char* const kMojiFontName = "\x82l\x82r \x83S\x83V\x83" "b\x83N";

namespace {

struct DefaultMojiProp {
    double width, height, pitch;
    uint8_t pen;
};
constexpr DefaultMojiProp kDefaultMojiProps[10] = {
    {2.0, 2.0, 0.0, 1}, {2.5, 2.5, 0.0, 1}, {3.0, 3.0, 0.0, 2}, {4.0, 4.0, 0.5, 2},  {5.0, 5.0, 0.5, 3},
    {6.0, 6.0, 0.5, 3}, {7.0, 7.0, 1.0, 4}, {8.0, 8.0, 1.0, 4}, {9.0, 9.0, 1.0, 5}, {10.0, 10.0, 1.0, 5},
};

std::string hexName(const char* prefix, int n) { return prefix + std::string(1, UpperHexDigit(n)); }

}  // namespace

TJwObject::TJwObject() {
    for (int n = 0; n < 10; ++n) {
        const DefaultMojiProp& d = kDefaultMojiProps[n];
        MojiProps_[n] = TMojiProp{d.width, d.height, d.pitch, d.pen, kMojiFontName};
    }
    for (int g = 0; g < 16; ++g) {
        TLayerGroup& group = LayerGroups[g];
        group.Name = hexName("Group-", g);
        for (int l = 0; l < 16; ++l) group.Layers[l].Name = hexName("Layer-", l);
    }
}

double GroupScaleOf(const TJwObject& drawing, uint8_t group) {
    if (group >= drawing.LayerGroups.size()) return 1;
    const double s = drawing.LayerGroups[group].Scale;
    return s == 0 ? 1 : s;
}

void TJwObject::AddLine(double x1, double y1, double x2, double y2, uint8_t layer, uint8_t group,
                        uint8_t lineType, uint8_t color) {
    Lines.push_back(TLineItem{x1, x2, y1, y2, layer, group, lineType, color, false});
}

void TJwObject::AddCircle(double x, double y, double r, double flatness, double startAngle, double endAngle,
                          double tilt, uint8_t layer, uint8_t group, uint8_t lineType, uint8_t color) {
    Circles.push_back(TCircleItem{x, y, r, flatness, startAngle, endAngle, tilt, layer, group, lineType, color, false});
}

void TJwObject::AddDot(double x, double y, uint8_t layer, uint8_t group, uint8_t color) {
    Dots.push_back(TDotItem{x, y, layer, group, color, false});
}

void TJwObject::AddText(double x1, double y1, double x2, double y2, uint8_t layer, uint8_t group, uint8_t mojiNo,
                        std::string text, bool vertical) {
    Texts.push_back(TTextItem{x1, x2, y1, y2, layer, group, mojiNo, std::move(text), vertical, false});
}

void TJwObject::AddSolid(double x1, double y1, double x2, double y2, uint8_t layer, uint8_t group,
                         uint32_t color) {
    Solids.push_back(TSolidItem{{x1, x2, x2, x1}, {y1, y1, y2, y2}, layer, group, color, 4, false});
}

}  // namespace tavo
