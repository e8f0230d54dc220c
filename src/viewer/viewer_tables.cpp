#include "viewer/viewer_tables.h"

namespace tavo {

TColorTable DefaultColorTable() {
    return {0xFFFFFF, 0x808000, 0x000000, 0x008000, 0x008080, 0x800080, 0x800000, 0x008080, 0xFF0080, 0xFF80FF};
}

TLineTypes DefaultLineTypes() {
    return {{{0xFFFFFFFF, 0}, {0x99999999, 1}, {0xC3C3C3C3, 1}, {0xE7E7E7E7, 1}, {0xF99FF99F, 1},
             {0xFFF99FFF, 1}, {0xF24FF24F, 1}, {0xFFF24FFF, 1}, {0x44444444, 1}}};
}

}  // namespace tavo
