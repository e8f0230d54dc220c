#pragma once

#include <string>
#include <vector>

#include "workbook/workbook_export.h"

namespace tavo {
class TJwObject;
}

namespace tavo::cli {

class Args;

// Whether an input file is a workbook: an .xlsx, .xlsm or .ods name, or a
// file that starts as a zip archive or compound file (so that encrypted
// and binary workbooks get their own message). Standard input is not.
bool IsWorkbookInput(const std::string& path);

// --sheet, --range and --strict belong to workbooks; a usage error for other inputs.
void RefuseWorkbookOptions(const Args& args);

// tavo export BOOK.xlsx|BOOK.ods with the options of tavo export.
int RunWorkbookExport(const Args& args);

// The drawing of a workbook's sheet (--sheet, --range and --strict of
// `args`) made the library's current export drawing through the exports,
// as the host makes it; a progress bar on a terminal meanwhile. What it
// leaves out and its warnings go to stderr, one line each.
workbook::WorkbookExportReport MakeWorkbookDrawingCurrent(const std::string& book, const Args& args);

// The drawing of a workbook's sheet (as above), made through the exports
// as the host makes it.
workbook::WorkbookExportReport LoadWorkbookDrawing(const std::string& book, const Args& args, TJwObject& drawing);

// The report as one JSON object: input, sheet, not_drawn (pictures,
// charts, controls, shapes) and warnings.
std::string WorkbookReportJson(const std::string& book, const workbook::WorkbookExportReport& report);

}  // namespace tavo::cli
