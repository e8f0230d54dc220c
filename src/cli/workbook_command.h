#pragma once

#include <string>
#include <vector>

namespace tavo {
class TJwObject;
}

namespace tavo::cli {

class Args;

// Whether an input file is a workbook: an .xlsx, .xlsm or .ods name, or a
// file that starts as a zip archive or compound file (so that encrypted
// and binary workbooks get their own message). Standard input is not.
bool IsWorkbookInput(const std::string& path);

// --sheet and --range belong to workbooks; a usage error for other inputs.
void RefuseWorkbookOptions(const Args& args);

// tavo export BOOK.xlsx|BOOK.ods with the options of tavo export.
int RunWorkbookExport(const Args& args);

// The drawing of a workbook's sheet (--sheet and --range of `args`) made
// the library's current export drawing through the exports, as the host
// makes it; a progress bar on a terminal meanwhile.
void MakeWorkbookDrawingCurrent(const std::string& book, const Args& args);

// The drawing of a workbook's sheet (--sheet and --range of `args`), made
// through the exports as the host makes it.
void LoadWorkbookDrawing(const std::string& book, const Args& args, TJwObject& drawing);

}  // namespace tavo::cli
