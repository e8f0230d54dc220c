#pragma once

#include "viewer/canvas.h"

namespace tavo {

// The pictures shown while a two-button gesture is dragged: 24 x 24, teal
// strokes on black, so that an xor copy draws and a second one removes them.
enum class GestureIcon { FitAll, ZoomOut, PreviousView };

// AJUSTALL: a frame with arrows pointing outward; REDUCT: four arrows
// pointing inward at a small square; BACKVIEW: a framed arrow pointing left.
Picture LoadGestureIcon(GestureIcon icon);

}  // namespace tavo
