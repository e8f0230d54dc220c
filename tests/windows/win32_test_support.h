#pragma once

#include <windows.h>

#include <string>

#include "settings/settings_store.h"

namespace tavo::test {

constexpr int kKeyWrites = 40;

// kKeyWrites settings writes, each of one key PREFIXn = n.
inline void WriteKeys(const SettingsStore& store, const std::string& prefix) {
    for (int i = 0; i < kKeyWrites; ++i) store.writeKeys({{"Export", prefix + std::to_string(i), std::to_string(i)}});
}

// This test program started again as another process with `arguments`,
// which its main() serves; nullptr when it did not start.
inline HANDLE StartSelf(const std::string& arguments) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, &self[0], MAX_PATH);
    std::string line = "\"" + std::string(&self[0]) + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// Its exit code once it has ended; 255 when it did not start.
inline DWORD ExitCodeOf(HANDLE process) {
    DWORD code = 255;
    if (!process) return code;
    WaitForSingleObject(process, INFINITE);
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

}  // namespace tavo::test
