#pragma once

#include <string>
#include <vector>

namespace tavo::cli {

extern const char* const kConfigHelp;
// tavo config [--json] | tavo config get KEY | tavo config set KEY VALUE
int RunConfig(const std::vector<std::string>& argv);

}  // namespace tavo::cli
