#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "workbook/sheet_model.h"

namespace tavo::workbook {

// The merged areas of a drawn range, clipped to it, found from any of
// their cells.
class MergeLookup {
public:
    MergeLookup(const std::vector<CellRange>& merges, const CellRange& range);

    // The merged area holding the cell, or null.
    const CellRange* find(int32_t row, int32_t col) const;
    const std::vector<CellRange>& areas() const { return areas_; }

private:
    static uint64_t key(int32_t row, int32_t col) {
        return (static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32) | static_cast<uint32_t>(col);
    }

    std::vector<CellRange> areas_;
    std::unordered_map<uint64_t, uint32_t> byCell_;  // cells of the smaller areas
    std::vector<uint32_t> large_;                    // areas searched one by one
};

}  // namespace tavo::workbook
