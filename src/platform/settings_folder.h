#pragma once

#include <string>

namespace tavo::platform {

// The folder of "tavo.ini" and "tavo.dat", ending with "/": $TAVO_SETTINGS_DIR
// when set, else $XDG_CONFIG_HOME/tavo/, else ~/.config/tavo/. It is created
// by the first write, not here.
std::string SettingsFolder();

}  // namespace tavo::platform
