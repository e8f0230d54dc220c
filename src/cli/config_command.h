#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tavo::cli {

// tavo config: the settings as the library reads them; tavo config set
// KEY VALUE: one key written as the exports write it.
int RunConfig(const std::vector<std::string>& argv, std::ostream& out);

}  // namespace tavo::cli
