#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "tavo.h"
#include "workbook/sheet_model.h"

namespace tavo::workbook {

// Turns a sheet's UTF-8 texts into the Shift-JIS the exports take. A
// character with no Shift-JIS form becomes "?" and a warning names the
// place and the character; with `strict` it is an Error instead.
class SheetTextConverter {
public:
    SheetTextConverter(std::string fileName, std::string sheetName, bool strict);

    // Where the next texts come from, for the messages: "cell C7", "shape 2".
    void at(std::string place) { place_ = std::move(place); }
    std::string operator()(std::string_view utf8);
    const std::vector<std::string>& warnings() const { return warnings_; }

private:
    platform::Utf8ToCp932Converter converter_;
    std::string fileName_, sheetName_, place_;
    bool strict_;
    std::vector<std::string> warnings_;
};

// The text a cell shows, as Shift-JIS lines: numbers and dates through
// their format (or as the file shows them), superscript and subscript
// characters each preceded by "^u" or "^d" when `exchangeCaret` is set.
// A number wider than `widthPoints` shows "###" as the sheet shows it (a
// number in the general format first gives up decimals). Empty for a cell
// that shows nothing.
std::vector<std::string> CellTextLines(const SheetModel& model, const Cell& cell, bool exchangeCaret,
                                       double widthPoints, SheetTextConverter& toCp932);

// The text size (1..10) whose height in the settings is nearest to the
// font's height on the paper; the smaller size wins a tie.
uint8_t TextSizeFor(double fontPoints, double mmPerPoint, const TavoSettings& settings);

// "C7": a cell's name.
std::string CellName(int32_t row, int32_t col);

}  // namespace tavo::workbook
