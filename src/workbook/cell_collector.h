#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "workbook/sheet_model.h"
#include "workbook/workbook_limits.h"

namespace tavo::workbook {

// What a conversion keeps of a sheet: only cells inside `range` (when given)
// that draw something; fills count only when they become solids.
struct CollectOptions {
    std::optional<CellRange> range;
    bool keepFills = false;
};


// Takes the cells a reader finds and keeps the ones that draw something,
// so that memory follows the drawing, not the formatted area of the sheet.
class CellCollector {
public:
    CellCollector(SheetModel& model, CollectOptions options, std::string fileName);

    // Whether a cell of this format draws without a value.
    bool drawsEmpty(uint32_t format) const;
    // Keeps the cell when it draws (or `always`, for a cell whose value
    // comes later); throws Error when a limit is passed.
    void add(const Cell& cell, bool always = false);
    // Cells of `count` columns from cell.col on, all alike (a repeated cell).
    void addRepeated(const Cell& cell, int32_t count);
    // Whether a cell at this place can be kept (inside the range).
    bool wants(int32_t row, int32_t col) const {
        return row >= 0 && col >= 0 && (!options_.range || options_.range->contains(row, col));
    }
    // Keeps a merged area; throws LimitReached past the limits on merges.
    void addMerge(const CellRange& area);

    SheetModel& model() { return model_; }
    const CollectOptions& options() const { return options_; }

private:
    SheetModel& model_;
    CollectOptions options_;
    std::string fileName_;
    int32_t minRow_ = INT32_MAX, maxRow_ = -1;
    std::size_t mergedCells_ = 0, largeMerges_ = 0;
};

}  // namespace tavo::workbook
