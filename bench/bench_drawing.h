#pragma once

#include <string>

#include "export/jw_object.h"

namespace bench {

// An A3 export drawing at 1:100 of `lines` lines (pens and layers cycling,
// line types too when `mixedLineTypes`) and `texts` texts of Shift-JIS and
// ASCII (品名 12.5 m2), as a sheet's cells give them.
inline tavo::TJwObject LinesAndTexts(int lines, int texts, bool mixedLineTypes) {
    tavo::TJwObject o;
    o.PlotSize = 3;
    o.JwcScale = 100;
    for (int i = 0; i < lines; ++i) {
        const double x = 12.5 * i;
        o.AddLine(x, 1000.25, x + 3000.125, -2000.5, static_cast<uint8_t>(i & 15), 15,
                  static_cast<uint8_t>(mixedLineTypes ? 1 + i % 9 : 1), static_cast<uint8_t>(1 + (i % 6)));
    }
    for (int i = 0; i < texts; ++i)
        o.AddText(40.0 * i, 500, 40.0 * i + 300, 500, 0, 15, 3, "\x95\x69\x96\xbc " + std::to_string(i) + " m2", false);
    return o;
}

}  // namespace bench
