#pragma once

#include <cstddef>
#include <cstdint>

namespace tavo {

// The settings record the host declares too: natural alignment,
// little-endian, offsets part of the interface. Booleans are 16 bits, 0 false
// and -1 true (any non-zero value reads as true).
struct TSettings {
    uint8_t PenNo[10];        // pen of text sizes 1..10
    int16_t MojiWidth[10];    // 0.1 mm
    int16_t MojiHeight[10];   // 0.1 mm
    int16_t MojiPitch[10];    // 0.1 mm
    uint8_t Gap70[2];
    float DimScale;           // conversion unit
    int16_t JwcScale;         // 1 : JwcScale
    int16_t PlotSize;         // 0..4 for A0..A4
    uint8_t SenLay;           // layer byte of ruled lines
    uint8_t SenColor;
    uint8_t Gap82[2];
    float DoubleSenPitch;     // mm between the lines of a double border
    uint8_t MojiLay;
    uint8_t SimbolLay;
    uint8_t SimbolColor;
    uint8_t ExportTarget;     // 0 preview, 1 clipboard, 2 .jwc, 3 JWW coordinate file
    uint8_t PlotOffset;       // 0 centred, 1 top-left, 2 bottom-left
    uint8_t Gap93;
    int16_t IsSameScale;
    int16_t GroupScale[16];
    uint8_t BColorIndex[56];  // pen for each colour of the spreadsheet's palette
    uint8_t BTypeIndex[13];   // line type for each border style
    uint8_t Gap197;
    int16_t ExchangeCaret;
    int16_t ExchangeSolid;
};

// The bytes of the record the library reads and writes; a host's record may
// be longer (its compiler pads it to 204).
constexpr std::size_t kSettingsBytes = 202;

static_assert(offsetof(TSettings, MojiWidth) == 10 && offsetof(TSettings, MojiHeight) == 30 &&
              offsetof(TSettings, MojiPitch) == 50 && offsetof(TSettings, DimScale) == 72 &&
              offsetof(TSettings, JwcScale) == 76 && offsetof(TSettings, PlotSize) == 78 &&
              offsetof(TSettings, SenLay) == 80 && offsetof(TSettings, SenColor) == 81 &&
              offsetof(TSettings, DoubleSenPitch) == 84 && offsetof(TSettings, MojiLay) == 88 &&
              offsetof(TSettings, SimbolLay) == 89 && offsetof(TSettings, SimbolColor) == 90 &&
              offsetof(TSettings, ExportTarget) == 91 && offsetof(TSettings, PlotOffset) == 92 &&
              offsetof(TSettings, IsSameScale) == 94 && offsetof(TSettings, GroupScale) == 96 &&
              offsetof(TSettings, BColorIndex) == 128 && offsetof(TSettings, BTypeIndex) == 184 &&
              offsetof(TSettings, ExchangeCaret) == 198 && offsetof(TSettings, ExchangeSolid) == 200);
static_assert(offsetof(TSettings, ExchangeSolid) + sizeof(int16_t) == kSettingsBytes);

// Which kinds of entity the host copies out of a .jwc file.
struct TDumpChecks {
    int16_t Line;
    int16_t Circle;
    int16_t String;
    int16_t Dot;
};
static_assert(sizeof(TDumpChecks) == 8 && offsetof(TDumpChecks, Dot) == 6);

constexpr int16_t kHostTrue = -1;
constexpr int16_t kHostFalse = 0;

}  // namespace tavo
