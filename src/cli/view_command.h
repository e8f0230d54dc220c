#pragma once

#include <string>
#include <vector>

#include "cli/text_encoding.h"
#include "workbook/workbook_export.h"

namespace tavo::cli {

// Shows the library's current export drawing in the preview window
// (ShowJwBrws), its saves proposing `fileName`, and destroys the drawing
// afterwards. Throws the library's failure: no display, or keys not kept.
int ShowCurrentExportDrawing(const std::string& fileName);
class Input;

// The same with the input's drawing made first through the exports, as a
// host makes it: a workbook's sheet, or worksheet CSV rows.
int ShowInPreview(Input& in, const workbook::WorkbookExportOptions& sheet, TextEncoding encoding,
                  const std::string& fileName);

extern const char* const kViewHelp;
// tavo view FILE.jwc                                  through ShowJwBrwsFromJwc
// tavo view BOOK.xlsx|BOOK.ods [--sheet] [--range]    the host's export, then ShowJwBrws
// tavo view --export IN.csv [--encoding sjis|utf8]    the same from CSV rows
int RunView(const std::vector<std::string>& argv);

}  // namespace tavo::cli
