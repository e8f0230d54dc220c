#include "workbook/cell_collector.h"

#include <algorithm>

#include "workbook/workbook_package.h"

namespace tavo::workbook {

CellCollector::CellCollector(SheetModel& model, CollectOptions options, std::string fileName)
    : model_(model), options_(options), fileName_(std::move(fileName)) {}

bool CellCollector::drawsEmpty(uint32_t format) const {
    if (format >= model_.formats.size()) return false;
    const CellFormat& f = model_.formats[format];
    return f.hasBorder() || (options_.keepFills && f.fill);
}

void CellCollector::add(const Cell& cell, bool always) {
    if (cell.row < 0 || cell.col < 0) return;
    if (options_.range && !options_.range->contains(cell.row, cell.col)) return;
    if (!always && cell.kind == CellKind::Empty && !drawsEmpty(cell.format)) return;
    minRow_ = std::min(minRow_, cell.row);
    maxRow_ = std::max(maxRow_, cell.row);
    if (maxRow_ - minRow_ >= kMaxDrawnRows)
        FailWorkbook(fileName_, "sheet \"" + model_.name + "\" draws rows " + std::to_string(minRow_ + 1) +
                                            " to " + std::to_string(maxRow_ + 1) + ", more than " +
                                            std::to_string(kMaxDrawnRows) +
                                            " rows (formatted far below its contents?); choose a --range");
    if (model_.cells.size() >= kMaxDrawnCells)
        FailWorkbook(fileName_, "sheet \"" + model_.name + "\" has more than " +
                                            std::to_string(kMaxDrawnCells) + " cells to draw; choose a --range");
    model_.cells.push_back(cell);
}

void CellCollector::addRepeated(const Cell& cell, int32_t count) {
    if (count <= 0) return;
    if (cell.kind == CellKind::Empty && !drawsEmpty(cell.format)) return;  // the usual case: padding to the sheet's end
    int32_t first = cell.col;
    int32_t last = cell.col + (count - 1);
    if (options_.range) {
        first = std::max(first, options_.range->firstCol);
        last = std::min(last, options_.range->lastCol);
    }
    Cell c = cell;
    for (int32_t col = first; col <= last; ++col) {
        c.col = col;
        add(c);
    }
}

}  // namespace tavo::workbook

namespace tavo::workbook {

void CellCollector::addMerge(const CellRange& area) {
    if (area.lastRow < area.firstRow || area.lastCol < area.firstCol) return;
    model_.merges.push_back(area);
    CheckLimit(model_.merges.size(), kMaxMerges, "merged areas");
    const auto cells = static_cast<std::size_t>((int64_t{area.lastRow} - area.firstRow + 1) *
                                                (int64_t{area.lastCol} - area.firstCol + 1));
    if (static_cast<int64_t>(cells) > kLargeMergeCells) CheckLimit(++largeMerges_, kMaxLargeMerges, "merged areas of over 4,096 cells");
    else CheckLimit(mergedCells_ += cells, kMaxMergedCells, "merged cells");
}

}  // namespace tavo::workbook
