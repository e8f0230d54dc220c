#include "qt/control_image.h"

#include "qt/canvas.h"
#include "viewer/jw_brws.h"

namespace tavo {

QImage PaintControlImage(TJwBrws& control) {
    QImage image(control.Width(), control.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtCanvas canvas(image);
        control.Paint(canvas);
    }
    return image;
}

}  // namespace tavo
