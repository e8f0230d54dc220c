#include "export/drawing_extent.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/geometry.h"
#include "export/jw_object.h"

namespace tavo {

void PaperBox::add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (empty) {
        minX = maxX = x;
        minY = maxY = y;
        empty = false;
        return;
    }
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
}

PaperSheet PaperSheetOf(int32_t plotSize) {
    const double length = PaperLength(plotSize);
    return {length, length / std::sqrt(2.0)};
}

PaperBox DrawingPaperBox(const TJwObject& d) {
    PaperBox box;
    const auto add = [&](double x, double y, uint8_t group) {
        const double s = GroupScaleOf(d, group);
        box.add(x / s, y / s);
    };
    for (const TLineItem& l : d.Lines) {
        add(l.X1, l.Y1, l.Group);
        add(l.X2, l.Y2, l.Group);
    }
    for (const TTextItem& t : d.Texts) {
        add(t.X1, t.Y1, t.Group);
        add(t.X2, t.Y2, t.Group);
    }
    for (const TCircleItem& c : d.Circles) {
        const double r = std::abs(c.R) * std::max(1.0, std::abs(c.Flatness));
        add(c.X - r, c.Y - r, c.Group);
        add(c.X + r, c.Y + r, c.Group);
    }
    for (const TSolidItem& s : d.Solids)
        for (int i = 0; i < s.Count && i < 4; ++i) add(s.X[i], s.Y[i], s.Group);
    for (const TDotItem& p : d.Dots) add(p.X, p.Y, p.Group);
    return box;
}

double TimesPaper(const PaperBox& box, const PaperSheet& sheet) {
    return std::max(box.width() / sheet.width, box.height() / sheet.height);
}

const std::vector<int32_t>& StandardScales() {
    static const std::vector<int32_t> kScales = {1,  2,   3,   5,   10,  20,  25,  30,  40,  50,
                                                 60, 100, 150, 200, 250, 300, 400, 500, 600, 1000};
    return kScales;
}

std::optional<int32_t> FittingScale(double times, double scale) {
    const double needed = times * scale;
    for (const int32_t s : StandardScales())
        if (s >= needed * (1 - 1e-9)) return s;
    return std::nullopt;
}

void RescaleDrawing(TJwObject& d, double scale, int plotOffset) {
    const double old = d.JwcScale > 0 ? d.JwcScale : 1;
    const double ratio = scale / old;
    const PaperSheet sheet = PaperSheetOf(d.PlotSize);
    const double anchorX = plotOffset == 0 ? sheet.width / 2 : 0;
    const double anchorY = plotOffset == 0 ? sheet.height / 2 : plotOffset == 1 ? sheet.height : 0;
    // Real-world lengths stay; on the paper the figure shrinks about the
    // anchor, which in real-world millimetres is a shift per group.
    std::array<double, 16> shiftX{}, shiftY{};
    for (std::size_t g = 0; g < d.LayerGroups.size(); ++g) {
        const double before = GroupScaleOf(d, static_cast<uint8_t>(g));
        const double after = before * ratio;
        d.LayerGroups[g].Scale = after;
        shiftX[g] = anchorX * (after - before);
        shiftY[g] = anchorY * (after - before);
    }
    d.JwcScale = scale;
    const auto move = [&](double& x, double& y, uint8_t group) {
        x += shiftX[group & 15];
        y += shiftY[group & 15];
    };
    for (TLineItem& l : d.Lines) {
        move(l.X1, l.Y1, l.Group);
        move(l.X2, l.Y2, l.Group);
    }
    for (TTextItem& t : d.Texts) {
        move(t.X1, t.Y1, t.Group);
        move(t.X2, t.Y2, t.Group);
    }
    for (TCircleItem& c : d.Circles) move(c.X, c.Y, c.Group);
    for (TSolidItem& s : d.Solids)
        for (int i = 0; i < 4; ++i) move(s.X[i], s.Y[i], s.Group);
    for (TDotItem& p : d.Dots) move(p.X, p.Y, p.Group);
}

}  // namespace tavo
