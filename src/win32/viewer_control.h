#pragma once

#include <functional>

#include "win32/dib_surface.h"
#include "win32/window_class.h"

namespace tavo {
class TJwBrws;
}

namespace tavo::win32 {

// The viewer control on screen: a child window that owns the picture the
// control paints on (a DIB section it blits), and forwards paint, mouse
// (two-button gestures included), double-click, keys and size to the
// control. Gesture feedback and the rubber band are drawn by the control
// straight onto the picture with the not-xor and xor mixes, so that drawing
// them twice removes them.
class ViewerControl {
public:
    ViewerControl(TJwBrws& control, HWND parent);
    ~ViewerControl();
    ViewerControl(const ViewerControl&) = delete;
    ViewerControl& operator=(const ViewerControl&) = delete;

    HWND Handle() const { return window_; }
    // Told the new size (the default hands it to the control), each time
    // the picture reaches the screen, and each key pressed here.
    std::function<void(int width, int height)> OnResized;
    std::function<void()> OnPainted;
    std::function<void(int key)> OnKeyDown;
    // Where the window procedure's failures go (they must not leave it).
    std::function<void(const std::exception& failure)> OnFailure;

    // The control's picture as it stands, painted first when it is stale.
    const DibSurface& Surface();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintIfStale();
    void ButtonDown(bool left, LPARAM at);
    void ButtonUp(bool left, LPARAM at);
    void Moved(LPARAM at);

    TJwBrws& control_;
    WindowClass class_;
    HWND window_ = nullptr;
    DibSurface surface_;
    int buttonsDown_ = 0;
};

}  // namespace tavo::win32
