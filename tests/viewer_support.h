#pragma once

#include "export/jw_object.h"
#include "viewer/jw_brws.h"
#include "viewer/recording_canvas.h"

namespace tavo::test {

// An A4 drawing whose groups all have scale 1, so stored coordinates are
// paper millimetres.
inline TJwObject FlatDrawing() {
    TJwObject d;
    d.PlotSize = 4;
    for (TLayerGroup& g : d.LayerGroups) g.Scale = 1;
    return d;
}

// A control showing `d` with the world origin at the top-left pixel, so that
// world (x, y) appears at pixel (x * ps, -y * ps).
inline void ShowAt(TJwBrws& v, TJwObject& d, double ps, int32_t width = 200, int32_t height = 200) {
    v.Drawing = &d;
    v.SetSize(width, height);
    v.Origin = {0, 0};
    v.PixelScale = ps;
}

inline RecordingCanvas Painted(TJwBrws& v) {
    RecordingCanvas c;
    v.Paint(c);
    return c;
}

// A click: press and release at one point.
inline void Click(TJwBrws& v, Canvas& c, MouseButton b, int32_t x, int32_t y) {
    v.MouseDown(b, x, y);
    v.MouseUp(c, b, x, y);
}

}  // namespace tavo::test
