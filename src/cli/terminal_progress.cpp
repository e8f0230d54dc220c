#include "cli/terminal_progress.h"

#include <algorithm>
#include <cstdio>

#include "cli/text_encoding.h"

namespace tavo::cli {

namespace {
constexpr auto kMoment = std::chrono::milliseconds(400);
constexpr int kWidth = 30;
}  // namespace

TerminalProgress::TerminalProgress(std::string label)
    : label_(std::move(label)), terminal_(IsTerminal(stderr)), start_(std::chrono::steady_clock::now()) {}

TerminalProgress::~TerminalProgress() { clear(); }

void TerminalProgress::update(double fraction) {
    if (!terminal_) return;
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100);
    if (percent == lastPercent_ || (!shown_ && std::chrono::steady_clock::now() - start_ < kMoment)) return;
    lastPercent_ = percent;
    shown_ = true;
    const int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%% %s", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(), percent, label_.c_str());
    std::fflush(stderr);
}

void TerminalProgress::clear() {
    if (!shown_) return;
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(kWidth + 8 + label_.size()), "");
    std::fflush(stderr);
    shown_ = false;
}

}  // namespace tavo::cli
