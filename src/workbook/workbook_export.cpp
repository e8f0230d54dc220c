#include "workbook/workbook_export.h"

#include "workbook/sheet_drawing.h"
#include "workbook/workbook_package.h"
#include "workbook/workbook_reader.h"

namespace tavo::workbook {

namespace {

// Progress of one part of the whole, `from` to `to`.
ProgressFn Part(const ProgressFn& progress, double from, double to) {
    if (!progress) return {};
    return [progress, from, to](double f) { progress(from + (to - from) * f); };
}

std::string A1(int32_t row, int32_t col) {
    std::string letters;
    for (int32_t c = col + 1; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row + 1);
}

}  // namespace

void ExportWorkbookSheet(const std::string& path, const WorkbookExportOptions& options, ExportCalls& calls,
                         const ProgressFn& progress) {
    const TavoSettings settings = calls.ReadInifile();
    const std::string comment1 = calls.ReadIniString(1), comment2 = calls.ReadIniString(2);
    ReadOptions read;
    read.sheet = options.sheet;
    read.collect.range = options.range;
    read.collect.keepFills = settings.ExchangeSolid != 0;
    read.scripts = settings.ExchangeCaret != 0;
    const SheetModel model = ReadWorkbookSheet(path, read, Part(progress, 0, 0.8));
    const std::optional<CellRange> range = DrawnRange(model, options.range);
    if (!range || model.cells.empty()) {
        std::string where = "sheet \"" + model.name + "\" has nothing to draw";
        if (options.range)
            where += " in " + A1(options.range->firstRow, options.range->firstCol) + ":" +
                     A1(options.range->lastRow, options.range->lastCol);
        FailWorkbook(path, where);
    }
    calls.ObjCreateByInifile();
    calls.SetObjComment(comment1, comment2);
    DrawSheet(model, *range, settings, calls, Part(progress, 0.8, 1));
}

void MakeExportDrawingCurrent(const std::string& path, const WorkbookExportOptions& options,
                              const ProgressFn& progress) {
    LibraryExportCalls calls;
    ExportWorkbookSheet(path, options, calls, progress);
}

}  // namespace tavo::workbook
