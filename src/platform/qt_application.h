#pragma once

#include <string>

namespace tavo::platform {

// What the library wants Qt for.
enum class QtUse {
    Images,     // fonts and painting on images: no display needed
    Clipboard,  // the desktop's clipboard, else one inside the process
    Windows,    // windows on the screen: a display is needed
};

// The process's one Qt application object. The host's own is used when it
// has one; otherwise one is made on the first need and kept for the life
// of the process, never a second. It is a QApplication, so that windows
// can follow images and the clipboard. Images alone run on the offscreen
// platform. Without any display (no DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM) nothing is made for windows or the clipboard, and an
// unreachable display falls back to offscreen: Qt would otherwise abort the
// host. Returns false, with the reason in `whyNot`, when `use` cannot be
// served.
bool EnsureQtApplication(QtUse use, std::string* whyNot = nullptr);

}  // namespace tavo::platform
