#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "viewer/canvas.h"

namespace tavo::test {

// The canvas of the build's front end on a white picture of width x height;
// `paint` draws on it, and the pixels come back as 0x00RRGGBB, rows from
// the top. Defined once per front end (QtCanvas, GdiCanvas).
std::vector<uint32_t> PaintOnSurface(int32_t width, int32_t height, const std::function<void(Canvas&)>& paint);

}  // namespace tavo::test
