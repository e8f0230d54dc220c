#pragma once

#include "viewer/canvas.h"

namespace tavo {

constexpr int kToolbarImageCount = 8;
constexpr int kToolbarImageSize = 16;
// Pixels of this colour let the toolbar show through.
constexpr WinColor kImageTransparent = 0xFF00FF;

// The preview window's 16 x 16 toolbar pictures by image index: 0 copy,
// 2 save, 3 range selection, 5 close, 6 help, 7 select all; 1 and 4 are
// not used and show nothing.
Picture ToolbarImage(int index);

}  // namespace tavo
