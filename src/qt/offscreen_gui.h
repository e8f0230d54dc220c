#pragma once

namespace tavo {

// Makes sure the process's one Qt application exists for fonts and images
// with no window (platform::EnsureQtApplication): it runs on the offscreen
// platform unless QT_QPA_PLATFORM names another, so it works with no
// display at all.
class OffscreenGui {
public:
    OffscreenGui();
};

}  // namespace tavo
