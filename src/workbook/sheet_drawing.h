#pragma once

#include <optional>

#include "tavo.h"
#include "workbook/cell_text.h"
#include "workbook/export_calls.h"
#include "workbook/sheet_model.h"

namespace tavo::workbook {

// The range a conversion draws: the requested one, else the bounding box
// of the cells that draw something, grown by the merged areas it touches;
// nothing when the sheet draws nothing.
std::optional<CellRange> DrawnRange(const SheetModel& model, const std::optional<CellRange>& requested);

// Adds the sheet to the current export drawing as the host does, with the
// settings the host read: solids for filled cells (ExchangeSolid) on
// SenLay, the borders as lines on SenLay (pens from BColorIndex, line types
// from BTypeIndex, double borders as two lines DoubleSenPitch apart), then
// the texts on MojiLay. Lengths in points times DimScale are paper mm.
// Drawn shapes come last (DrawShapes). Texts go through `toCp932`, which
// keeps the warnings.
void DrawSheet(const SheetModel& model, const CellRange& range, const TavoSettings& settings, ExportCalls& calls,
               SheetTextConverter& toCp932, const ProgressFn& progress = {});

}  // namespace tavo::workbook
