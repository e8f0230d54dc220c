#pragma once

#include <optional>
#include <string>

#include "workbook/export_calls.h"
#include "workbook/sheet_model.h"

namespace tavo::workbook {

struct WorkbookExportOptions {
    std::optional<std::string> sheet;  // a name, or a position from 1; the active sheet when not given
    std::optional<CellRange> range;    // the cells to draw; the used area when not given
};

// Plays the host's export of one worksheet through `calls`: reads the
// settings (ReadInifile, comments from ReadIniString), reads the sheet,
// then creates the export drawing (ObjCreateByInifile), sets the comments
// and adds the solids, borders and texts. A workbook that cannot be read,
// or a sheet or range with nothing to draw, throws Error naming the file
// before any drawing is created. Writing the drawing is the caller's.
void ExportWorkbookSheet(const std::string& path, const WorkbookExportOptions& options, ExportCalls& calls,
                         const ProgressFn& progress = {});

// The same through this process's library: afterwards the sheet's drawing
// is the current export drawing, ready for a writer or the preview.
void MakeExportDrawingCurrent(const std::string& path, const WorkbookExportOptions& options,
                              const ProgressFn& progress = {});

}  // namespace tavo::workbook
