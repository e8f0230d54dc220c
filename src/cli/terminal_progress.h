#pragma once

#include <chrono>
#include <string>

namespace tavo::cli {

// A progress bar on stderr, drawn only when stderr is a terminal and only
// once the work has taken more than a moment; cleared when done.
class TerminalProgress {
public:
    explicit TerminalProgress(std::string label);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void update(double fraction);

private:
    void clear();

    std::string label_;
    bool terminal_;
    bool shown_ = false;
    int lastPercent_ = -1;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace tavo::cli
