#pragma once

#include <cstdint>
#include <vector>

#include "workbook/sheet_model.h"

namespace tavo::workbook {

// A rectangle on the paper, millimetres, y up.
struct PaperRect {
    double left = 0, right = 0, bottom = 0, top = 0;
};

// The drawn range laid out on the paper: hidden rows and columns take no
// room, the others their width or height in points times the conversion
// unit (mm per point), and the figure sits on the paper as PlotOffset says.
class SheetGrid {
public:
    // plotOffset: 0 centred, 1 top-left, 2 bottom-left; paperLength: the
    // long side of the landscape paper in mm.
    SheetGrid(const SheetModel& model, const CellRange& range, double mmPerPoint, int plotOffset,
              double paperLength);

    const CellRange& range() const { return range_; }
    int32_t visibleColumns() const { return static_cast<int32_t>(xs_.size()) - 1; }
    int32_t visibleRows() const { return static_cast<int32_t>(ys_.size()) - 1; }
    // Visible ordinal of a sheet column or row; -1 when hidden or outside.
    int32_t columnOrdinal(int32_t col) const { return ordinal(colOrdinals_, range_.firstCol, col); }
    int32_t rowOrdinal(int32_t row) const { return ordinal(rowOrdinals_, range_.firstRow, row); }
    // Paper coordinates of grid line k (0 = the left or top edge of the
    // figure, visibleColumns() / visibleRows() the right or bottom one).
    double x(int32_t k) const { return xs_[static_cast<std::size_t>(k)]; }
    double y(int32_t k) const { return ys_[static_cast<std::size_t>(k)]; }
    // The paper rectangle of the visible cells among rows r0..r1 and
    // columns c0..c1 (sheet indices); false when none is visible.
    bool areaRect(const CellRange& area, PaperRect& out) const;
    // The same as visible ordinals: first and last visible row and column.
    bool areaOrdinals(const CellRange& area, CellRange& out) const;
    // Paper coordinates of a point given as a cell's corner and offsets in
    // points, inside the range or beyond it; an offset longer than its cell
    // carries on over the next ones.
    double paperX(const SheetPoint& p) const;
    double paperY(const SheetPoint& p) const;
    double mmPerPoint() const { return mm_; }

private:
    static int32_t ordinal(const std::vector<int32_t>& ordinals, int32_t first, int32_t index);
    // Distance in points from the range's first edge to index's edge, along one axis.
    static double edgePoints(const AxisSizes& sizes, const std::vector<int32_t>& ordinals,
                             const std::vector<double>& edges, int32_t first, int32_t index);
    static double pointOn(const AxisSizes& sizes, const std::vector<int32_t>& ordinals, const std::vector<double>& edges,
                          int32_t first, int32_t index, double offset, bool walks, int32_t limit);

    CellRange range_;
    const AxisSizes& columns_;
    const AxisSizes& rows_;
    double mm_;
    double left_ = 0, top_ = 0;
    std::vector<double> colEdges_, rowEdges_;  // in points from the range's corner
    std::vector<int32_t> colOrdinals_, rowOrdinals_;  // by sheet index - first; -1 hidden
    std::vector<double> xs_, ys_;                     // grid lines on the paper
};

}  // namespace tavo::workbook
