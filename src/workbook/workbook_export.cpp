#include "workbook/workbook_export.h"

#include "workbook/cell_text.h"
#include "workbook/sheet_drawing.h"
#include "workbook/workbook_limits.h"
#include "workbook/workbook_package.h"
#include "workbook/workbook_reader.h"

namespace tavo::workbook {

namespace {

// Progress of one part of the whole, `from` to `to`.
ProgressFn Part(const ProgressFn& progress, double from, double to) {
    if (!progress) return {};
    return [progress, from, to](double f) { progress(from + (to - from) * f); };
}

void Count(std::string& out, int n, const char* one, const char* many) {
    if (n == 0) return;
    out += (out.empty() ? "" : ", ") + std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string WorkbookExportReport::notDrawnText() const {
    std::string out;
    Count(out, notDrawn.pictures, "picture", "pictures");
    Count(out, notDrawn.charts, "chart", "charts");
    Count(out, notDrawn.controls, "form control or embedded object", "form controls and embedded objects");
    Count(out, notDrawn.shapes, "shape of a kind without a drawing", "shapes of kinds without a drawing");
    return out;
}

WorkbookExportReport ExportWorkbookSheet(const std::string& path, const WorkbookExportOptions& options,
                                         ExportCalls& calls, const ProgressFn& progress) {
    return ExportWorkbookSheet(WorkbookPackage(path), options, calls, progress);
}

WorkbookExportReport ExportWorkbookSheet(const WorkbookPackage& package, const WorkbookExportOptions& options,
                                         ExportCalls& calls, const ProgressFn& progress) {
    const std::string& path = package.path();
    const TavoSettings settings = calls.ReadInifile();
    const std::string comment1 = calls.ReadIniString(1), comment2 = calls.ReadIniString(2);
    ReadOptions read;
    read.sheet = options.sheet;
    read.collect.range = options.range;
    read.collect.keepFills = settings.ExchangeSolid != 0;
    const SheetModel model = ReadWorkbookSheet(package, read, Part(progress, 0, 0.8));
    const std::optional<CellRange> range = DrawnRange(model, options.range);
    if (!range || (model.cells.empty() && model.shapes.empty())) {
        std::string where = "sheet \"" + model.name + "\" has nothing to draw";
        if (options.range)
            where += " in " + CellName(options.range->firstRow, options.range->firstCol) + ":" +
                     CellName(options.range->lastRow, options.range->lastCol);
        FailWorkbook(path, where);
    }
    // Merged areas and shapes widen the drawing beyond its cells, a range
    // may ask for more: the drawing's rows have the cells' limit.
    if (int64_t{range->lastRow} - range->firstRow >= kMaxDrawnRows)
        FailWorkbook(path, "sheet \"" + model.name + "\" draws rows " + std::to_string(range->firstRow + 1) + " to " +
                               std::to_string(range->lastRow + 1) + ", more than " + std::to_string(kMaxDrawnRows) +
                               " rows (merged areas, shapes or a range reaching far below the cells?); choose a smaller --range");
    calls.ObjCreateByInifile();
    calls.SetObjComment(comment1, comment2);
    SheetTextConverter toCp932(path, model.name, options.strict);
    DrawSheet(model, *range, settings, calls, toCp932, Part(progress, 0.8, 1));
    const std::string drawn = CellName(range->firstRow, range->firstCol) + ":" + CellName(range->lastRow, range->lastCol);
    return {model.name, drawn, model.notDrawn, toCp932.warnings()};
}

WorkbookExportReport MakeExportDrawingCurrent(const std::string& path, const WorkbookExportOptions& options,
                                              const ProgressFn& progress) {
    LibraryExportCalls calls;
    return ExportWorkbookSheet(path, options, calls, progress);
}

}  // namespace tavo::workbook
