#pragma once

#include <ostream>

#include "cli/cli_args.h"

namespace tavo::cli {

int RunInfo(const std::vector<std::string>& argv, std::ostream& out);
int RunDump(const std::vector<std::string>& argv, std::ostream& out);
int RunBuild(const std::vector<std::string>& argv);
int RunJwt(const std::vector<std::string>& argv, std::ostream& out);
int RunConvert(const std::vector<std::string>& argv);

}  // namespace tavo::cli
