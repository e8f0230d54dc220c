#include "workbook/sheet_grid.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "workbook/cell_address.h"

namespace tavo::workbook {

namespace {

// Ordinals of the visible indices first..last and the running offsets (in
// points) of their edges.
void LayOut(const AxisSizes& sizes, int32_t first, int32_t last, std::vector<int32_t>& ordinals,
            std::vector<double>& edges) {
    ordinals.assign(static_cast<std::size_t>(int64_t{last} - first + 1), -1);
    edges.assign(1, 0.0);
    for (int32_t i = first; i <= last; ++i) {
        const double size = sizes.visibleSize(i);
        if (size <= 0) continue;
        ordinals[static_cast<std::size_t>(i - first)] = static_cast<int32_t>(edges.size() - 1);
        edges.push_back(edges.back() + size);
    }
}

}  // namespace

SheetGrid::SheetGrid(const SheetModel& model, const CellRange& range, double mmPerPoint, int plotOffset,
                     double paperLength)
    : range_(range), columns_(model.columns), rows_(model.rows), mm_(mmPerPoint) {
    std::vector<double>& cols = colEdges_;
    std::vector<double>& rows = rowEdges_;
    LayOut(model.columns, range.firstCol, range.lastCol, colOrdinals_, cols);
    LayOut(model.rows, range.firstRow, range.lastRow, rowOrdinals_, rows);
    const double width = cols.back() * mmPerPoint;
    const double height = rows.back() * mmPerPoint;
    const double paperWidth = paperLength, paperHeight = paperLength / std::sqrt(2.0);
    double left = 0, top = height;  // bottom-left
    if (plotOffset == 1) {
        top = paperHeight;
    } else if (plotOffset != 2) {
        left = (paperWidth - width) / 2;
        top = (paperHeight + height) / 2;
    }
    left_ = left;
    top_ = top;
    xs_.reserve(cols.size());
    for (double c : cols) xs_.push_back(left + c * mmPerPoint);
    ys_.reserve(rows.size());
    for (double r : rows) ys_.push_back(top - r * mmPerPoint);
}

double SheetGrid::edgePoints(const AxisSizes& sizes, const std::vector<int32_t>& ordinals,
                             const std::vector<double>& edges, int32_t first, int32_t index) {
    const auto count = static_cast<int32_t>(ordinals.size());
    if (index < first) return -sizes.sum(index, first);
    if (index >= first + count) return edges.back() + sizes.sum(first + count, index);
    // The edge before `index`: that of the first visible index from it on.
    for (int32_t i = index; i < first + count; ++i) {
        const int32_t o = ordinals[static_cast<std::size_t>(i - first)];
        if (o >= 0) return edges[static_cast<std::size_t>(o)];
    }
    return edges.back();
}

double SheetGrid::pointOn(const AxisSizes& sizes, const std::vector<int32_t>& ordinals, const std::vector<double>& edges,
                          int32_t first, int32_t index, double offset, bool walks, int32_t limit) {
    if (walks) {
        std::tie(index, offset) = sizes.walk(index, std::max(offset, 0.0), limit);
    } else {
        offset = std::clamp(offset, 0.0, sizes.visibleSize(index));
    }
    return edgePoints(sizes, ordinals, edges, first, index) + offset;
}

double SheetGrid::paperX(const SheetPoint& p) const {
    return left_ + pointOn(columns_, colOrdinals_, colEdges_, range_.firstCol, p.col, p.colOffset, p.walks, kSheetColumns) * mm_;
}

double SheetGrid::paperY(const SheetPoint& p) const {
    return top_ - pointOn(rows_, rowOrdinals_, rowEdges_, range_.firstRow, p.row, p.rowOffset, p.walks, kSheetRows) * mm_;
}

int32_t SheetGrid::ordinal(const std::vector<int32_t>& ordinals, int32_t first, int32_t index) {
    const int64_t i = static_cast<int64_t>(index) - first;
    return i < 0 || i >= static_cast<int64_t>(ordinals.size()) ? -1 : ordinals[static_cast<std::size_t>(i)];
}

bool SheetGrid::areaRect(const CellRange& area, PaperRect& out) const {
    CellRange o;
    if (!areaOrdinals(area, o)) return false;
    out = {x(o.firstCol), x(o.lastCol + 1), y(o.lastRow + 1), y(o.firstRow)};
    return true;
}

bool SheetGrid::areaOrdinals(const CellRange& area, CellRange& out) const {
    // First and last visible column and row inside the area and the range.
    const auto span = [](const std::vector<int32_t>& ordinals, int32_t first, int32_t a, int32_t b, int32_t& lo,
                         int32_t& hi) {
        lo = -1;
        hi = -1;
        const int32_t from = std::max(a, first);
        const auto to = static_cast<int32_t>(std::min<int64_t>(b, first + static_cast<int64_t>(ordinals.size()) - 1));
        for (int32_t i = from; i <= to; ++i) {
            const int32_t o = ordinals[static_cast<std::size_t>(i - first)];
            if (o < 0) continue;
            if (lo < 0) lo = o;
            hi = o;
        }
        return lo >= 0;
    };
    return span(colOrdinals_, range_.firstCol, area.firstCol, area.lastCol, out.firstCol, out.lastCol) &&
           span(rowOrdinals_, range_.firstRow, area.firstRow, area.lastRow, out.firstRow, out.lastRow);
}

}  // namespace tavo::workbook
