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

// Room a cell keeps at its edges, in points.
constexpr double kCellPaddingPoints = 3.75;

// The width of a Shift-JIS line as the spreadsheet's fonts draw it, in
// points: digits about 0.48 of the font's size (7 pixels at 11 points),
// wide characters twice that, "^u" and "^d" marks nothing.
double SheetTextPoints(std::string_view cp932, double fontPoints);

// A Shift-JIS line cut to `widthPoints` of the sheet, keeping its start,
// its end or its middle as it is aligned, and always one character.
std::string CutToSheetWidth(const std::string& cp932, double fontPoints, double widthPoints, HAlign align);

// "C7": a cell's name.
std::string CellName(int32_t row, int32_t col);

}  // namespace tavo::workbook
