#include "workbook/text_placement.h"

#include <algorithm>
#include <cmath>

#include "base/jw_text.h"
#include "workbook/cell_text.h"

namespace tavo::workbook {

double TextMetrics::lineLength(const std::string& cp932) const { return DrawnTextLength(cp932, width, pitch); }

TextMetrics MetricsFor(double fontPoints, double mmPerPoint, const TavoSettings& settings) {
    TextMetrics m;
    m.size = TextSizeFor(fontPoints, mmPerPoint, settings);
    m.width = settings.MojiWidth[m.size - 1] / 10.0;
    m.height = settings.MojiHeight[m.size - 1] / 10.0;
    m.pitch = settings.MojiPitch[m.size - 1] / 10.0;
    m.step = std::max(m.height, fontPoints * mmPerPoint) * kLineSpacing;
    return m;
}

std::vector<PlacedLine> PlaceLines(const std::vector<std::string>& lines, const PaperRect& r, HAlign h, VAlign v,
                                   double marginX, double marginY, const TextMetrics& m) {
    const double n = static_cast<double>(lines.size());
    const double block = m.height + (n - 1) * m.step;
    const double first = v == VAlign::Top      ? r.top - marginY - m.height
                         : v == VAlign::Bottom ? r.bottom + marginY + (n - 1) * m.step
                                               : (r.bottom + r.top) / 2 + block / 2 - m.height;
    std::vector<PlacedLine> out;
    out.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double len = m.lineLength(lines[i]);
        const double x = h == HAlign::Right    ? r.right - marginX - len
                         : h == HAlign::Center ? (r.left + r.right) / 2 - len / 2
                                               : r.left + marginX;
        out.push_back({x, first - static_cast<double>(i) * m.step, len});
    }
    return out;
}

}  // namespace tavo::workbook
