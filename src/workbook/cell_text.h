#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "tavo.h"
#include "workbook/sheet_model.h"

namespace tavo::workbook {

// The text a cell shows, as Shift-JIS lines: numbers and dates through
// their format (or as the file shows them), superscript and subscript
// characters each preceded by "^u" or "^d" when `exchangeCaret` is set.
// Empty for a cell that shows nothing.
std::vector<std::string> CellTextLines(const SheetModel& model, const Cell& cell, bool exchangeCaret,
                                       const platform::Utf8ToCp932Converter& toCp932);

// The text size (1..10) whose height in the settings is nearest to the
// font's height on the paper; the smaller size wins a tie.
uint8_t TextSizeFor(double fontPoints, double mmPerPoint, const TavoSettings& settings);

}  // namespace tavo::workbook
