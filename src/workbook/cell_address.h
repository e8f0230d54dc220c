#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "workbook/sheet_model.h"

namespace tavo::workbook {

constexpr int32_t kSheetRows = 1048576;
constexpr int32_t kSheetColumns = 16384;

// "B12" or "$B$12" as a 0-based row and column; nothing for anything else
// or a cell beyond the sheet's 1048576 rows and 16384 columns (XFD).
std::optional<std::pair<int32_t, int32_t>> ParseCellAddress(std::string_view text);

// "A1:K40" (either corner first) or a single cell; an optional sheet name
// before "!" is left to RangeSheetName.
std::optional<CellRange> ParseCellRange(std::string_view text);

// The sheet a range names: "表紙!B2:C4" or "'My sheet'!B2" ('' inside
// quotes is one '); nothing without a "!".
std::optional<std::string> RangeSheetName(std::string_view text);

}  // namespace tavo::workbook
