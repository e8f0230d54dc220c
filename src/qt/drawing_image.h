#pragma once

#include <string>

namespace tavo {

class TJwObject;

// The drawing as the preview window paints it, the paper fitted to an image
// of width x height pixels (everything selected, in red, with selectAll), as
// PNG bytes. Needs no display. Throws Error when the image cannot be encoded.
std::string DrawingPng(TJwObject& drawing, int width, int height, bool selectAll);

}  // namespace tavo
