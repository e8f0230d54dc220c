#include "files/file_system.h"

#include <atomic>
#include <mutex>
#include <random>
#include <string_view>

namespace tavo::platform {

namespace {

// Guarded because settings writers may run on several threads at once.
struct FaultPlan {
    std::mutex mutex;
    int failAt = 0;  // 0: never
    int counted = 0;
    std::string log;
};

FaultPlan& plan() {
    static FaultPlan p;
    return p;
}

// Nothing is counted until a test asks for it.
std::atomic<bool> armed{false};

}  // namespace

void InjectFileFault(int nthOperation) {
    FaultPlan& p = plan();
    const std::lock_guard<std::mutex> hold(p.mutex);
    p.failAt = nthOperation;
    p.counted = 0;
    p.log.clear();
    armed = true;
}

int FileOperationsCounted() {
    FaultPlan& p = plan();
    const std::lock_guard<std::mutex> hold(p.mutex);
    return p.counted;
}

std::string FileOperationsLog() {
    FaultPlan& p = plan();
    const std::lock_guard<std::mutex> hold(p.mutex);
    return p.log;
}

bool FileFaultDue(const char* operation) {
    if (!armed) return false;
    FaultPlan& p = plan();
    const std::lock_guard<std::mutex> hold(p.mutex);
    if (!p.log.empty()) p.log += ' ';
    p.log += operation;
    return ++p.counted == p.failAt;
}

std::string TemporaryFileName() {
    thread_local std::mt19937 random{std::random_device{}()};
    constexpr std::string_view kChars = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string name(kTempPrefix);
    for (std::size_t i = 0; i < kTempRandom; ++i) name += kChars[random() % kChars.size()];
    name += kTempSuffix;
    return name;
}

bool IsTemporaryFileName(std::string_view name) {
    return name.size() == kTempPrefix.size() + kTempRandom + kTempSuffix.size() &&
           name.substr(0, kTempPrefix.size()) == kTempPrefix &&
           name.substr(name.size() - kTempSuffix.size()) == kTempSuffix;
}

}  // namespace tavo::platform
