#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tavo {
class TJwObject;
}

namespace tavo::cli {

// Shows the library's current export drawing in the preview window
// (ShowJwBrws), its saves proposing `fileName`, and destroys the drawing
// afterwards. Throws the library's failure: no display, or keys not kept.
int ShowCurrentExportDrawing(const std::string& fileName);
// The same with `drawing` made the current export drawing first.
int ShowExportDrawing(std::unique_ptr<TJwObject> drawing, const std::string& fileName);

extern const char* const kViewHelp;
// tavo view FILE.jwc                                  through ShowJwBrwsFromJwc
// tavo view BOOK.xlsx|BOOK.ods [--sheet] [--range]    the host's export, then ShowJwBrws
// tavo view --export IN.csv [--encoding sjis|utf8]    the same from CSV rows
int RunView(const std::vector<std::string>& argv);

}  // namespace tavo::cli
