#pragma once

#include <cstddef>
#include <cstdint>

// The records and fixed blocks of a .jwc file, byte for byte as in the file
// (packed, little-endian). The drawing keeps them in this form so that the
// reader and writer move whole runs of them at once.

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the .jwc layouts are little-endian"
#endif

namespace tavo {

#pragma pack(push, 1)

// A line.
struct Sen {
    float X1, Y1, X2, Y2;
    uint8_t LineType;
    uint8_t Color;
    uint8_t Lay;
    uint8_t SpareByte;
    uint16_t SpareWord;
};

// An arc, circle or ellipse; angles are degrees × 65536, Flatness the axis
// ratio × 10000.
struct Enko {
    float X, Y, R;
    uint16_t Flatness;
    int32_t StartAngle;
    int32_t EndAngle;
    int32_t Tilt;
    uint8_t LineType;
    uint8_t Color;
    uint8_t Lay;
    uint8_t SpareByte;
    uint16_t SpareWord;
};

// A text record; its text lives in the drawing's text list.
struct Moji {
    float X1, Y1, X2, Y2;
    int32_t TextOffset;
    uint8_t MojiNo;
    uint8_t Lay;
    uint16_t Flags;
};

// A point.
struct Ten {
    float X, Y;
    uint8_t Lay;
    uint8_t Color;
    uint16_t SpareWord;
};

// Text-size table: eleven rows, stored column by column.
struct MojiTable {
    uint16_t Pen[11];
    uint16_t Width[11];
    uint16_t Height[11];
    uint16_t Spacing[11];
};

// The four header blocks, the reserved block and the text-size table: the
// first 1797 bytes of every file.
struct JwcHead {
    uint8_t TitleBlock[200];
    char Line1[200];
    char Line2[200];
    char Line3[200];
    uint8_t Reserved[909];
    MojiTable Table;
};

// The layer and group tables that follow the group scale table.
struct JwcLayerTables {
    uint8_t GroupFlag[16];
    uint8_t LayerFlag[256];
    uint8_t GroupDisplay[16];
    uint8_t LayerDisplay[256];
    uint8_t GroupBaseLayer[16];
};

// The names at the end of the file: 256 × 8 bytes of layer names, 16 × 16
// bytes of group names.
struct JwcNames {
    char LayerNames[256][8];
    char GroupNames[16 * 16];
};

#pragma pack(pop)

// The names' bytes, the last part of every file.
constexpr uint64_t kJwcNameBytes = sizeof(JwcNames);

static_assert(sizeof(Sen) == 22 && offsetof(Sen, LineType) == 16 && offsetof(Sen, Color) == 17 &&
              offsetof(Sen, Lay) == 18 && offsetof(Sen, SpareByte) == 19 && offsetof(Sen, SpareWord) == 20);
static_assert(sizeof(Enko) == 32 && offsetof(Enko, R) == 8 && offsetof(Enko, Flatness) == 12 &&
              offsetof(Enko, StartAngle) == 14 && offsetof(Enko, EndAngle) == 18 &&
              offsetof(Enko, Tilt) == 22 && offsetof(Enko, LineType) == 26 && offsetof(Enko, Color) == 27 &&
              offsetof(Enko, Lay) == 28 && offsetof(Enko, SpareByte) == 29 && offsetof(Enko, SpareWord) == 30);
static_assert(sizeof(Moji) == 24 && offsetof(Moji, TextOffset) == 16 && offsetof(Moji, MojiNo) == 20 &&
              offsetof(Moji, Lay) == 21 && offsetof(Moji, Flags) == 22);
static_assert(sizeof(Ten) == 12 && offsetof(Ten, Lay) == 8 && offsetof(Ten, Color) == 9 &&
              offsetof(Ten, SpareWord) == 10);
static_assert(sizeof(MojiTable) == 88 && offsetof(MojiTable, Width) == 22 && offsetof(MojiTable, Spacing) == 66);
static_assert(sizeof(JwcHead) == 1797 && offsetof(JwcHead, Line1) == 200 && offsetof(JwcHead, Line3) == 600 &&
              offsetof(JwcHead, Reserved) == 800 && offsetof(JwcHead, Table) == 1709);
static_assert(sizeof(JwcLayerTables) == 560 && offsetof(JwcLayerTables, LayerFlag) == 1845 - 1829 &&
              offsetof(JwcLayerTables, GroupDisplay) == 2101 - 1829 &&
              offsetof(JwcLayerTables, LayerDisplay) == 2117 - 1829 &&
              offsetof(JwcLayerTables, GroupBaseLayer) == 2373 - 1829);
static_assert(sizeof(JwcNames) == 2048 + 256);

constexpr int32_t kWholeTurnFixed = 360 * 65536;  // 23592960
constexpr double kFixedAngleUnit = 1.52587890625e-5;  // 1/65536 of a degree

// A fixed-point angle in degrees, rounded to f32.
inline float FixedAngleToDegrees(int32_t fixed) { return static_cast<float>(fixed * kFixedAngleUnit); }
// The same direction from 0 up to a whole turn, the range readers accept.
// Equal angles stay equal, so a whole circle stays whole.
constexpr int32_t NormalizedFixedAngle(int32_t fixed) {
    const int32_t rest = fixed % kWholeTurnFixed;
    return rest < 0 ? rest + kWholeTurnFixed : rest;
}
constexpr uint16_t kVerticalTextFlag = 32;

// The values JW_CAD knows: pens 1 to 9, line types 1 to 9 in the low four
// bits, text sizes 1 to 10.
constexpr bool KnownPen(uint8_t pen) { return pen >= 1 && pen <= 9; }
constexpr bool KnownLineType(uint8_t type) { return (type & 0x0F) >= 1 && (type & 0x0F) <= 9; }
constexpr bool KnownTextSize(uint8_t size) { return size >= 1 && size <= 10; }

}  // namespace tavo
