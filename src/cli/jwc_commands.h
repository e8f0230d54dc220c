#pragma once

#include <string>
#include <vector>

namespace tavo::cli {

extern const char* const kDumpHelp;
extern const char* const kBuildHelp;
int RunDump(const std::vector<std::string>& argv);
int RunBuild(const std::vector<std::string>& argv);

}  // namespace tavo::cli
