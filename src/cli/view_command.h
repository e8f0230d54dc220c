#pragma once

#include <string>
#include <vector>

namespace tavo::cli {

// Shows the library's current export drawing in the preview window
// (ShowJwBrws), its saves proposing `fileName`, and destroys the drawing
// afterwards. Throws the library's failure: no display, or keys not kept.
int ShowCurrentExportDrawing(const std::string& fileName);

extern const char* const kViewHelp;
// tavo view FILE.jwc                                  through ShowJwBrwsFromJwc
// tavo view BOOK.xlsx|BOOK.ods [--sheet] [--range]    the host's export, then ShowJwBrws
// tavo view --export IN.csv [--encoding sjis|utf8]    the same from CSV rows
int RunView(const std::vector<std::string>& argv);

}  // namespace tavo::cli
