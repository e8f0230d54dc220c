#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tavo {

class TJwObject;

// A rectangle in millimetres on the paper; empty until a point is added.
struct PaperBox {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool empty = true;

    void add(double x, double y);
    double width() const { return empty ? 0 : maxX - minX; }
    double height() const { return empty ? 0 : maxY - minY; }
};

// The landscape sheet of a paper-size index, in millimetres.
struct PaperSheet {
    double width, height;
};
PaperSheet PaperSheetOf(int32_t plotSize);

// Where an export drawing lies on the paper: every entity back in paper
// millimetres by its group's scale. Texts count by their base lines, arcs
// by the square around their ellipse.
PaperBox DrawingPaperBox(const TJwObject& drawing);

// How many times the sheet the box is, the larger of its two ratios
// (1 or less: it fits).
double TimesPaper(const PaperBox& box, const PaperSheet& sheet);

// The drawing scales JW_CAD offers (1:N), smallest first.
const std::vector<int32_t>& StandardScales();

// The smallest standard scale at which a drawing that is `times` the sheet
// at 1:`scale` fits the sheet; none when even the largest is too small.
std::optional<int32_t> FittingScale(double times, double scale);

// Draws the same real-world drawing at 1:`scale` instead of its own
// JwcScale: the group scales change by the same ratio, and the figure
// shrinks on the paper about the point its placement keeps (`plotOffset`:
// 0 the sheet's centre, 1 its top-left corner, 2 its bottom-left corner).
// Texts keep their size on the paper, as JW_CAD keeps them.
void RescaleDrawing(TJwObject& drawing, double scale, int plotOffset);

}  // namespace tavo
