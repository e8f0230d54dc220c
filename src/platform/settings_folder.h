#pragma once

#include <string>

namespace tavo::platform {

// Where the settings live: "tavo.ini" in `folder`; a legacy "tavo.dat" is
// read from `folder`, else from `legacyFolder` (the same folder but where
// the settings had to move). Both end with their separator; the folder is
// created by the first write, not here.
struct SettingsLocation {
    std::string folder;
    std::string legacyFolder;
};

// $TAVO_SETTINGS_DIR when set. Else, on Linux, $XDG_CONFIG_HOME/tavo/, else
// ~/.config/tavo/. On Windows the folder of the host's executable, unless
// that folder holds no "tavo.ini" and this user may not write there (a
// program folder): then %APPDATA%\Tavo\, with "tavo.dat" still read from
// the executable's folder.
SettingsLocation FindSettingsLocation();

// FindSettingsLocation().folder.
std::string SettingsFolder();

}  // namespace tavo::platform
