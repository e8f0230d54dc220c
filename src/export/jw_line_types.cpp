#include "export/jw_line_types.h"

namespace tavo {

uint32_t JwLineTypePattern(int type) {
    static constexpr uint32_t kPatterns[kJwLineTypes] = {0xFFFFFFFF, 0x99999999, 0xC3C3C3C3, 0xE7E7E7E7, 0xF99FF99F,
                                                         0xFFF99FFF, 0xF24FF24F, 0xFFF24FFF, 0x44444444};
    return kPatterns[UsableLineType(type) - 1];
}

}  // namespace tavo
