#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tavo.h"
#include "workbook/sheet_grid.h"
#include "workbook/sheet_model.h"

namespace tavo::workbook {

constexpr double kCellMarginPoints = 1.5;  // room between a cell's edge and its text
constexpr double kLineSpacing = 1.3;       // lines of a text, in text heights

// The size a text is drawn at: the row of the text-size table nearest to
// the font's height on the paper, its character width, height and spacing
// in paper mm, and the distance between lines.
struct TextMetrics {
    uint8_t size = 1;
    double width = 0, height = 0, pitch = 0, step = 0;

    // Length of a Shift-JIS line's base line: half a character cell per byte column.
    double lineLength(const std::string& cp932) const;
};

TextMetrics MetricsFor(double fontPoints, double mmPerPoint, const TavoSettings& settings);

// A line's base line, left to right, unturned.
struct PlacedLine {
    double x = 0, y = 0, length = 0;
};

// Lines of text inside `r`, `marginX` and `marginY` from its edges, placed
// by their alignment.
std::vector<PlacedLine> PlaceLines(const std::vector<std::string>& lines, const PaperRect& r, HAlign h, VAlign v,
                                   double marginX, double marginY, const TextMetrics& m);

}  // namespace tavo::workbook
