#pragma once

#include <string>
#include <vector>

namespace tavo::cli {

extern const char* const kAuditHelp;
// tavo audit FILE.jwc... [--json]
int RunAudit(const std::vector<std::string>& argv);

}  // namespace tavo::cli
