#include "qt/drawing_image.h"

#include <QBuffer>
#include <QByteArray>

#include "base/error.h"
#include "qt/control_image.h"
#include "qt/offscreen_gui.h"
#include "viewer/jw_brws.h"

namespace tavo {

std::string DrawingPng(TJwObject& drawing, int width, int height, bool selectAll) {
    const OffscreenGui gui;
    TJwBrws control;
    control.SetSize(width, height);
    control.Drawing = &drawing;
    control.FitPaper();
    if (selectAll) control.SelectAll();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!PaintControlImage(control).save(&buffer, "PNG")) throw Error("cannot encode the PNG image");
    return {png.constData(), static_cast<std::size_t>(png.size())};
}

}  // namespace tavo
