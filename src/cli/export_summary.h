#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workbook/sheet_model.h"

namespace tavo {
class TJwObject;
}

namespace tavo::cli {

// What one output of tavo export holds, for the line on stderr and the
// JSON object. Texts are UTF-8.
struct ExportSummary {
    std::string input;   // as messages name it
    std::string output;  // the file, "stdout", "clipboard" or "preview"
    std::string sheet;   // empty for CSV rows
    std::string range;   // the cells drawn
    std::size_t lines = 0, texts = 0, arcs = 0, points = 0, fills = 0;
    int32_t plotSize = 0;
    double scale = 0;          // 1:scale as written
    double width = 0, height = 0;  // the drawing on the paper, mm
    double timesPaper = 0;
    std::optional<int32_t> fittingScale;  // when it does not fit at its own scale
    std::optional<double> scaleBefore;    // --fit changed the scale from this
    workbook::NotDrawn notDrawn;
    std::string notDrawnText;
    std::vector<std::string> warnings;
    std::string settings;  // the settings used, for -v
};

// Counts, extent and the size warning of a drawing made for `plotOffset`;
// with `fit`, a drawing larger than its paper is first drawn at the
// smallest standard scale at which it fits.
void MeasureDrawing(TJwObject& drawing, int plotOffset, bool fit, ExportSummary& summary);

// The warning for fills a .jwc cannot hold, when the drawing has any.
void WarnOfFillsLeftOut(ExportSummary& summary);

// "sheet "見積" A1:K40 -> out/見積.jwc: 12 lines, 8 texts, 0 arcs, 2 fills;
// 240 x 150 mm on the A3 paper at 1:100", with the settings used when
// `verbose`.
std::string SummaryLine(const ExportSummary& summary, bool verbose);

// The summary as one JSON object (keys in README's "Summary" table).
std::string SummaryJson(const ExportSummary& summary);
// The object of an input that failed: {"input", "error"}.
std::string FailureJson(const std::string& input, const std::string& error);

}  // namespace tavo::cli
