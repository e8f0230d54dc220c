#pragma once

#include <string>
#include <vector>

namespace tavo::cli {

extern const char* const kJwtHelp;
extern const char* const kConvertHelp;
int RunJwt(const std::vector<std::string>& argv);
int RunConvert(const std::vector<std::string>& argv);

}  // namespace tavo::cli
