#pragma once

#include <string>
#include <vector>

namespace tavo::cli {

extern const char* const kSettingsHelp;
// tavo settings [export|dump|build]: the settings dialog of that task.
int RunSettingsDialog(const std::vector<std::string>& argv);

}  // namespace tavo::cli
