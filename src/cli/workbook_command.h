#pragma once

#include <string>
#include <vector>

namespace tavo {
class TJwObject;
}

namespace tavo::cli {

class Args;

// Whether the command's input file is a workbook: an .xlsx, .xlsm or .ods
// name, or a file that starts as a zip archive or compound file (so that
// encrypted and binary workbooks get their own message).
bool IsWorkbookInput(const std::vector<std::string>& argv);

// tavo export BOOK.xlsx|BOOK.ods [--sheet NAME|N] [--range A1:K40]
//             [-o OUT.jwc|OUT.txt] [--to jwc|jww|clipboard]
int RunWorkbookExport(const std::vector<std::string>& argv);

// The drawing of a workbook's sheet (--sheet and --range of `args`), made
// through the exports as the host makes it, for the preview's painting.
void LoadWorkbookDrawing(const std::string& book, const Args& args, TJwObject& drawing);

}  // namespace tavo::cli
