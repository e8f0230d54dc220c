#include "platform/win32_settings_folder.h"

#include <windows.h>

#include "files/win32_text.h"

namespace tavo::platform {

namespace {

// Read from the process's environment, which the host changes with
// SetEnvironmentVariable, not from the C runtime's copy.
std::string environment(const char* name) {
    std::string value(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
        if (n < value.size()) {
            value.resize(n);
            return value;
        }
        value.resize(n);
    }
}

std::string withSeparator(std::string folder) {
    if (!folder.empty() && LastPathSeparator(folder) + 1 != folder.size()) folder += '\\';
    return folder;
}

// The folder of the process's executable, cut after its last "\" or ":".
std::string executableFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t sep = LastPathSeparator(path);
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool FolderWritable(const std::string& folder) {
    const std::string probe = folder + ".tavo-probe-" + std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(GetCurrentThreadId()) + ".tmp";
    const HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(h);
    return true;
}

SettingsLocation SettingsLocationFor(const std::string& programFolder, const std::string& appData) {
    if (appData.empty() || fileExists(programFolder + "tavo.ini") || FolderWritable(programFolder))
        return {programFolder, programFolder};
    return {appData + "Tavo\\", programFolder};
}

SettingsLocation FindSettingsLocation() {
    const std::string own = environment("TAVO_SETTINGS_DIR");
    if (!own.empty()) return {withSeparator(own), withSeparator(own)};
    const std::string appData = environment("APPDATA");
    return SettingsLocationFor(executableFolder(), appData.empty() ? appData : withSeparator(appData));
}

std::string SettingsFolder() { return FindSettingsLocation().folder; }

}  // namespace tavo::platform
