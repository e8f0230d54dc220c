#include "platform/settings_folder.h"

#include <cstdlib>

namespace tavo::platform {

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

SettingsLocation FindSettingsLocation() {
    std::string folder = SettingsFolder();
    return {folder, folder};
}

std::string SettingsFolder() {
    const std::string own = env("TAVO_SETTINGS_DIR");
    if (!own.empty()) return withSeparator(own);
    const std::string xdg = env("XDG_CONFIG_HOME");
    if (!xdg.empty()) return withSeparator(xdg) + "tavo/";
    const std::string home = env("HOME");
    if (!home.empty()) return withSeparator(home) + ".config/tavo/";
    return "./";
}

}  // namespace tavo::platform
