#pragma once

#include <string>
#include <vector>

#include "workbook/workbook_export.h"

namespace tavo {
class TJwObject;
}

namespace tavo::cli {

class Args;

class Input;

// Whether an input is a workbook: a zip archive or compound file (so that
// damaged, encrypted and binary workbooks get the reader's message), or a
// file named .xlsx, .xlsm or .ods.
bool IsWorkbookInput(const Input& input);

// --sheet, --range and --strict belong to workbooks; a usage error for other inputs.
void RefuseWorkbookOptions(const Args& args);

// The sheet options of the command line: --sheet, --range and --strict.
workbook::WorkbookExportOptions SheetOptions(const Args& args);

// The drawing of a workbook's sheet made the library's current export
// drawing through the exports, as the host makes it; `file` is read,
// `name` is what messages call it (a pipe's book lies in a private copy).
// A progress bar on a terminal meanwhile when `progress`.
workbook::WorkbookExportReport MakeBookDrawingCurrent(const std::string& file, const std::string& name,
                                                     const workbook::WorkbookExportOptions& options, bool progress);
// The same, taken over into `drawing`.
workbook::WorkbookExportReport LoadBookDrawing(const std::string& file, const std::string& name,
                                               const workbook::WorkbookExportOptions& options, bool progress,
                                               TJwObject& drawing);

// What the export left out and its warnings, one line each on stderr.
void ReportWorkbookNotes(const std::string& book, const workbook::WorkbookExportReport& report);

// The drawing of a workbook's sheet (--sheet, --range and --strict of
// `args`) made the library's current export drawing through the exports,
// as the host makes it; a progress bar on a terminal meanwhile. What it
// leaves out and its warnings go to stderr, one line each.
workbook::WorkbookExportReport MakeWorkbookDrawingCurrent(const std::string& book, const Args& args);

// The drawing of a workbook's sheet (as above), made through the exports
// as the host makes it.
workbook::WorkbookExportReport LoadWorkbookDrawing(const std::string& book, const Args& args, TJwObject& drawing);

}  // namespace tavo::cli
