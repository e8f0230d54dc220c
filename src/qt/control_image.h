#pragma once

#include <QImage>

namespace tavo {

class TJwBrws;

// The control painted as it shows on screen, on an image of its size.
QImage PaintControlImage(TJwBrws& control);

}  // namespace tavo
