#pragma once

#include <string>

#include "platform/settings_folder.h"

namespace tavo::platform {

// The choice of FindSettingsLocation for a given executable folder and
// application-data folder (both with their separator), apart for tests.
SettingsLocation SettingsLocationFor(const std::string& programFolder, const std::string& appData);

// Whether this process may create files in `folder`: tried with a file that
// goes when it is closed, since permissions alone do not tell.
bool FolderWritable(const std::string& folder);

}  // namespace tavo::platform
