#include "viewer/viewer_tables.h"

#include "export/jw_line_types.h"

namespace tavo {

TColorTable DefaultColorTable() {
    return {0xFFFFFF, 0x808000, 0x000000, 0x008000, 0x008080, 0x800080, 0x800000, 0x008080, 0xFF0080, 0xFF80FF};
}

TLineTypes DefaultLineTypes() {
    TLineTypes types;
    for (int t = 1; t <= kJwLineTypes; ++t) types[t - 1] = {JwLineTypePattern(t), t == 1 ? 0 : 1};
    return types;
}

}  // namespace tavo
