#pragma once

#include <cstdint>
#include <vector>

#include "workbook/merge_lookup.h"
#include "workbook/sheet_grid.h"
#include "workbook/sheet_model.h"

namespace tavo::workbook {

// A stretch of one grid line drawn in one border: grid line `line` (a row
// line for a horizontal stretch, a column line for a vertical one) from
// visible cell `first` to visible cell `last` along it.
struct RuledLine {
    bool horizontal = true;
    int32_t line = 0;
    int32_t first = 0, last = 0;
    BorderLine border;
};

// The cells' borders as the fewest stretches: an edge shared by two cells
// is drawn once (the heavier style wins, then the cell to the right or
// below), sides inside merged areas are left out, and neighbouring edges
// of the same style and colour along a grid line become one stretch.
// Horizontal stretches come first, top to bottom, then vertical ones.
std::vector<RuledLine> CollectRuledLines(const SheetModel& model, const SheetGrid& grid, const MergeLookup& merges);

// A diagonal border across a cell or merged area.
struct DiagonalLine {
    PaperRect area;
    bool up = true;  // bottom-left to top-right
    BorderLine border;
};

std::vector<DiagonalLine> CollectDiagonals(const SheetModel& model, const SheetGrid& grid, const MergeLookup& merges);

}  // namespace tavo::workbook
