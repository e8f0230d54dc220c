#include "workbook/merge_lookup.h"

#include <algorithm>

#include "workbook/workbook_limits.h"

namespace tavo::workbook {


MergeLookup::MergeLookup(const std::vector<CellRange>& merges, const CellRange& range) {
    for (const CellRange& m : merges) {
        CellRange a{std::max(m.firstRow, range.firstRow), std::max(m.firstCol, range.firstCol),
                    std::min(m.lastRow, range.lastRow), std::min(m.lastCol, range.lastCol)};
        if (a.firstRow > a.lastRow || a.firstCol > a.lastCol) continue;
        if (a.firstRow == a.lastRow && a.firstCol == a.lastCol) continue;  // one cell is no merge
        const auto index = static_cast<uint32_t>(areas_.size());
        areas_.push_back(a);
        const int64_t cells = (int64_t{a.lastRow} - a.firstRow + 1) * (int64_t{a.lastCol} - a.firstCol + 1);
        if (cells > kLargeMergeCells) {  // few (a limit): searched one by one
            large_.push_back(index);
            continue;
        }
        for (int32_t r = a.firstRow; r <= a.lastRow; ++r)
            for (int32_t c = a.firstCol; c <= a.lastCol; ++c) byCell_.emplace(key(r, c), index);
    }
}

const CellRange* MergeLookup::find(int32_t row, int32_t col) const {
    if (areas_.empty()) return nullptr;
    const auto it = byCell_.find(key(row, col));
    if (it != byCell_.end()) return &areas_[it->second];
    for (uint32_t i : large_)
        if (areas_[i].contains(row, col)) return &areas_[i];
    return nullptr;
}

}  // namespace tavo::workbook
