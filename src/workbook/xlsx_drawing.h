#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "workbook/sheet_model.h"
#include "workbook/workbook_package.h"

namespace tavo::workbook {

// The shapes of a sheet's drawing part (xl/drawings/drawingN.xml): lines,
// connectors, rectangles, ellipses, text boxes and simple outlines, also
// inside groups, appended to model.shapes; pictures, charts and form
// controls counted in model.notDrawn. `theme` resolves scheme colours.
void ReadXlsxDrawing(const WorkbookPackage& package, const std::string& part, const std::vector<uint32_t>& theme,
                     SheetModel& model);

// The border style a drawn line looks like: its dash pattern (DrawingML's
// preset names) and its width in points.
BorderStyle LineStyleOf(std::string_view dash, double widthPoints, bool compound);

}  // namespace tavo::workbook
