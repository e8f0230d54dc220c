#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavo {

// The drawing a worksheet is converted into. Coordinates are real-world
// millimetres: the host's paper millimetres times the scale of the entity's
// group. Records are only appended; afterwards only `Selected` changes.

struct TLineItem {
    double X1, X2, Y1, Y2;  // both x values first, as the record has them
    uint8_t Layer, Group;
    uint8_t LineType;
    uint8_t Color;
    bool Selected;
};

struct TCircleItem {
    double X, Y, R;
    double Flatness;    // axis ratio; 1 is a circle
    double StartAngle;  // degrees; equal to EndAngle for a closed figure
    double EndAngle;
    double Tilt;
    uint8_t Layer, Group;
    uint8_t LineType;
    uint8_t Color;
    bool Selected;
};

struct TDotItem {
    double X, Y;
    uint8_t Layer, Group;
    uint8_t Color;
    bool Selected;
};

struct TTextItem {
    double X1, X2, Y1, Y2;  // the base line
    uint8_t Layer, Group;
    uint8_t MojiNo;         // text size 1..10
    std::string Text;       // Shift-JIS, "^" escapes kept
    bool Vertical;
    bool Selected;
};

struct TSolidItem {
    double X[4], Y[4];
    uint8_t Layer, Group;
    uint32_t Color;  // red in the lowest byte
    uint8_t Count;   // corners used: 4, or 3 for a triangle
    bool Selected;
};

struct TLayer {
    std::string Name;
    bool Visible = true;
};

struct TLayerGroup {
    double Scale = 100;  // 100 means 1:100
    std::string Name;
    bool Visible = true;
    std::array<TLayer, 16> Layers;
};

struct TMojiProp {
    double Width = 0, Height = 0, Pitch = 0;  // mm
    uint8_t PenNo = 0;
    std::string FontName;
};

class TJwObject {
public:
    TJwObject();

    std::vector<TLineItem> Lines;
    std::vector<TCircleItem> Circles;
    std::vector<TDotItem> Dots;
    std::vector<TTextItem> Texts;
    std::vector<TSolidItem> Solids;
    std::array<TLayerGroup, 16> LayerGroups;
    std::string Comment1, Comment2;
    int32_t PlotSize = 0;
    double JwcScale = 0;

    // Text size n (1..10); null for any other number.
    TMojiProp* MojiProp(int n) { return n >= 1 && n <= 10 ? &MojiProps_[n - 1] : nullptr; }
    const TMojiProp* MojiProp(int n) const { return n >= 1 && n <= 10 ? &MojiProps_[n - 1] : nullptr; }

    // Appends with `Selected` false; coordinates already in real-world mm.
    void AddLine(double x1, double y1, double x2, double y2, uint8_t layer, uint8_t group, uint8_t lineType,
                 uint8_t color);
    void AddCircle(double x, double y, double r, double flatness, double startAngle, double endAngle, double tilt,
                   uint8_t layer, uint8_t group, uint8_t lineType, uint8_t color);
    void AddDot(double x, double y, uint8_t layer, uint8_t group, uint8_t color);
    void AddText(double x1, double y1, double x2, double y2, uint8_t layer, uint8_t group, uint8_t mojiNo,
                 std::string text, bool vertical);
    // An axis-parallel rectangle from two opposite corners, as four corners.
    void AddSolid(double x1, double y1, double x2, double y2, uint8_t layer, uint8_t group, uint32_t color);

private:
    std::array<TMojiProp, 10> MojiProps_;
};

// Scale of group `group` by which its real-world coordinates go back to the
// paper; a scale of 0 (the settings allow it) counts as 1, so that nothing
// divides by zero.
double GroupScaleOf(const TJwObject& drawing, uint8_t group);

// The font every text size shows with: "ＭＳ ゴシック" in Shift-JIS.
extern const char* const kMojiFontName;

}  // namespace tavo
