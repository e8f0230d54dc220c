#pragma once

#include <optional>
#include <string>
#include <vector>

#include "workbook/export_calls.h"
#include "workbook/sheet_model.h"
#include "workbook/workbook_package.h"

namespace tavo::workbook {

struct WorkbookExportOptions {
    std::optional<std::string> sheet;  // a name, or a position from 1; the active sheet when not given
    std::optional<CellRange> range;    // the cells to draw; the used area when not given
    bool strict = false;               // a character without a Shift-JIS form is an error, not "?"
};

// What an export did not draw as the sheet shows it, for the person who
// asked: the sheet, what it holds that has no drawing, and warnings (UTF-8).
struct WorkbookExportReport {
    std::string sheet;
    std::string range;  // the cells drawn, "A1:K40"
    NotDrawn notDrawn;
    std::vector<std::string> warnings;

    // "2 pictures, 1 chart" (UTF-8); empty when everything was drawn.
    std::string notDrawnText() const;
};

// Plays the host's export of one worksheet through `calls`: reads the
// settings (ReadInifile, comments from ReadIniString), reads the sheet,
// then creates the export drawing (ObjCreateByInifile), sets the comments
// and adds the solids, borders and texts. A workbook that cannot be read,
// or a sheet or range with nothing to draw, throws Error naming the file
// before any drawing is created. Writing the drawing is the caller's.
WorkbookExportReport ExportWorkbookSheet(const std::string& path, const WorkbookExportOptions& options,
                                         ExportCalls& calls, const ProgressFn& progress = {});
// The same for a workbook already opened (in memory, say).
WorkbookExportReport ExportWorkbookSheet(const WorkbookPackage& package, const WorkbookExportOptions& options,
                                         ExportCalls& calls, const ProgressFn& progress = {});

// The same through this process's library: afterwards the sheet's drawing
// is the current export drawing, ready for a writer or the preview.
WorkbookExportReport MakeExportDrawingCurrent(const std::string& path, const WorkbookExportOptions& options,
                                              const ProgressFn& progress = {});

}  // namespace tavo::workbook
