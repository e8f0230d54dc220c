#pragma once

#include <memory>

class QGuiApplication;

namespace tavo {

// The Qt application that fonts and images need, for drawing with no
// window: it runs on the offscreen platform unless QT_QPA_PLATFORM names
// another, so it works with no display at all. Does nothing when an
// application object exists already.
class OffscreenGui {
public:
    OffscreenGui();
    ~OffscreenGui();
    OffscreenGui(const OffscreenGui&) = delete;
    OffscreenGui& operator=(const OffscreenGui&) = delete;

private:
    // Qt keeps these for the application's lifetime.
    int argc_ = 1;
    char name_[5] = {'t', 'a', 'v', 'o', '\0'};
    char* argv_[2] = {&name_[0], nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace tavo
