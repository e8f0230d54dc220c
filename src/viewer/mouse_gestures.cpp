#include "viewer/mouse_gestures.h"

#include <cstdlib>

namespace tavo {

uint8_t StateAfterDown(uint8_t state, bool gestureRunning) {
    if (gestureRunning) return kButtonPressed;
    if (state == kButtonUp) return kButtonPressed;
    if (state == kButtonClicked) return kButtonPressedAgain;
    return kButtonUp;
}

uint8_t StateAfterMove(uint8_t state, bool gestureRunning) {
    switch (state) {
        case kButtonPressed: return kButtonHeld;
        case kButtonPressedAgain: return kButtonHeldAgain;
        case kButtonHeld:
        case kButtonHeldAgain: return state;
        default: return gestureRunning ? state : uint8_t{kButtonUp};
    }
}

uint8_t StateAfterUp(uint8_t state) {
    switch (state) {
        case kButtonPressed: return kButtonClicked;
        case kButtonHeld: return kButtonDragged;
        case kButtonPressedAgain: return kButtonReleasedAgain;
        case kButtonHeldAgain: return kButtonDraggedAgain;
        default: return kButtonUp;
    }
}

uint8_t ClassifyGesture(PixelPoint down, PixelPoint at) {
    const int64_t dx = int64_t{at.x} - down.x, dy = int64_t{at.y} - down.y;
    if (std::llabs(dx) < 5 && std::llabs(dy) < 5) return kCenterGesture;
    if (dx >= 0) return dy >= 0 ? kZoomWindowGesture : kFitAllGesture;
    return dy >= 0 ? kPreviousViewGesture : kZoomOutGesture;
}

}  // namespace tavo
