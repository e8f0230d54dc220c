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

// This test program started again as another process, in the mode `mode`
// of its main().
class ChildProcess {
public:
    ChildProcess(const std::string& mode, const std::string& arguments) {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, &self[0], MAX_PATH);
        std::string line = "\"" + std::string(&self[0]) + "\" " + mode + " " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
            info_.hProcess = nullptr;
    }
    ~ChildProcess() {
        if (info_.hProcess) {
            wait();
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
    }
    ChildProcess(ChildProcess&& other) noexcept : info_(other.info_) { other.info_.hProcess = nullptr; }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ChildProcess& operator=(ChildProcess&&) = delete;

    // Its exit code; 255 when it did not start.
    DWORD wait() {
        if (!info_.hProcess) return 255;
        WaitForSingleObject(info_.hProcess, INFINITE);
        DWORD code = 255;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
};

}  // namespace tavo::test
