#pragma once

#include "tavo.h"
#include "workbook/cell_text.h"
#include "workbook/export_calls.h"
#include "workbook/sheet_grid.h"
#include "workbook/sheet_model.h"

namespace tavo::workbook {

constexpr double kInsetXPoints = 7.2;  // a text box's room around its text
constexpr double kInsetYPoints = 3.6;
constexpr double kArrowDegrees = 25;   // an arrow head's sides from its line

// Adds the sheet's drawn shapes as the host does: outlines as lines and
// arcs (AddLine, AddCircle) on SimbolLay, the pen from the line's colour
// through the palette and BColorIndex (the sheet's default colour, or an
// entry of 0, SimbolColor), the line type from its look through
// BTypeIndex; arrow heads as two short lines; ellipses as AddCircle with
// their flatness and tilt; the texts of text boxes on MojiLay. A shape
// wholly outside the grid's range is left out. Returns how many it drew.
int DrawShapes(const SheetModel& model, const SheetGrid& grid, const TavoSettings& settings, ExportCalls& calls,
               SheetTextConverter& toCp932);

// An angle in degrees brought into [0, 360), as JW_CAD readers take them.
double NormalizedDegrees(double degrees);

}  // namespace tavo::workbook
