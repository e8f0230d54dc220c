#pragma once

#include <cstdint>

#include "viewer/canvas.h"

namespace tavo {

// States of one mouse button.
enum ButtonState : uint8_t {
    kButtonUp = 0,
    kButtonPressed = 1,
    kButtonClicked = 2,        // released without moving
    kButtonHeld = 3,           // held while the mouse moves
    kButtonDragged = 4,        // released after moving
    kButtonPressedAgain = 5,   // pressed again at once after a click, or double-clicked
    kButtonReleasedAgain = 6,
    kButtonHeldAgain = 7,
    kButtonDraggedAgain = 8,
};

// Two-button gestures.
enum GestureKind : uint8_t {
    kNoGesture = 0,
    kZoomWindowGesture = 1,    // drag down-right
    kZoomOutGesture = 2,       // drag up-left
    kFitAllGesture = 3,        // drag up-right
    kPreviousViewGesture = 4,  // drag down-left
    kCenterGesture = 5,        // both buttons down, no direction yet
};

uint8_t StateAfterDown(uint8_t state, bool gestureRunning);
uint8_t StateAfterMove(uint8_t state, bool gestureRunning);
uint8_t StateAfterUp(uint8_t state);

// Pressed or held: the state in which a second button starts a gesture.
inline bool IsDown(uint8_t state) { return state == kButtonPressed || state == kButtonHeld; }
// Released after a single press, with or without moving.
inline bool IsReleased(uint8_t state) { return state == kButtonClicked || state == kButtonDragged; }
// A button in this state no longer needs the mouse captured.
inline bool IsUpState(uint8_t state) {
    return state == kButtonUp || state == kButtonClicked || state == kButtonDragged ||
           state == kButtonReleasedAgain || state == kButtonDraggedAgain;
}

// The gesture of a drag from `down` to `at`: centre within 4 pixels each
// way, else by the quadrant (screen y grows downward).
uint8_t ClassifyGesture(PixelPoint down, PixelPoint at);

}  // namespace tavo
