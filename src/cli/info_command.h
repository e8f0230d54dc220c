#pragma once

#include <string>
#include <vector>

namespace tavo::cli {

extern const char* const kInfoHelp;
// tavo info FILE.jwc... [--json]
int RunInfo(const std::vector<std::string>& argv);

}  // namespace tavo::cli
