#pragma once

#include <string>
#include <vector>

namespace tavo::cli {

// tavo view FILE.jwc                    through ShowJwBrwsFromJwc
// tavo view --export IN.csv [--utf8]    the export task with the preview target
int RunView(const std::vector<std::string>& argv);

}  // namespace tavo::cli
