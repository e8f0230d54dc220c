#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "viewer/canvas.h"

namespace tavo {

// Which task the host opens the settings dialog for.
enum class ConfigMode : uint8_t { Export, Dump, Build };

// The pages of the dialog; tree nodes of several modes share a panel.
enum class ConfigPanel : uint8_t { None, ExpTarget, ExpScale, ExpLayer, LineColor, LineType, Moji, Option, DumpFile, About };

struct ConfigTreeEntry {
    const char* Caption;  // Shift-JIS
    uint8_t Level;        // 1 root, 2 child of the last root
    uint8_t Page;
};

// The tree of a mode, the version entry last.
const std::vector<ConfigTreeEntry>& ConfigTree(ConfigMode mode);
ConfigPanel PanelOfPage(uint8_t page);
// The help topic of a page; 110 (the about page's) for page 0 and pages
// without one.
int32_t HelpContextOfPage(uint8_t page);
const char* PanelName(ConfigPanel panel);  // "pnExpTarget", ...
const char* ModeCaption(ConfigMode mode);  // Shift-JIS

// What the key filters of the numeric boxes let through.
enum class KeyFilter : uint8_t {
    Decimal,   // edDimen, edDouble: digits, "."
    Digits,    // edScale
    Pen,       // colour boxes, edRCol, edSPenNo: "1".."6"
    LineType,  // edtT1..edtT13: "1".."9"
    Grid,      // sgGroupScale, sgTable: digits; Enter moves to the next cell
};

constexpr int kKeyBack = 0x08;
constexpr int kKeyReturn = 0x0D;

enum class KeyAnswer : uint8_t { Pass, Swallow, NextControl, NextCell };
// `key` is the typed character, kKeyBack or kKeyReturn.
KeyAnswer FilterKey(KeyFilter filter, int key);

struct GridCell {
    int Col = 1, Row = 1;
    bool operator==(const GridCell& o) const { return Col == o.Col && Row == o.Row; }
};
// Enter in a grid whose first row and column are fixed: one column right,
// from the last column to column 1 of the next row, from the last row back
// to row 1.
GridCell NextGridCell(GridCell at, int colCount, int rowCount);

constexpr int kGroupScaleCols = 17, kGroupScaleRows = 2;
constexpr int kMojiCols = 5, kMojiRows = 11;

// A swatch of the line colour page: a palette colour index (1..56) and the
// pen it has from the factory.
struct ColorSwatch {
    uint8_t PaletteIndex;
    uint8_t FactoryPen;
};
constexpr int kSwatchCount = 40;
// In 5 rows of 8, row by row.
extern const std::array<ColorSwatch, kSwatchCount> kColorSwatches;
extern const std::array<uint8_t, 13> kFactoryLineTypes;

// Sample pictures of the 13 border styles (50 x 12), in box order.
constexpr int kBorderSampleWidth = 50, kBorderSampleHeight = 12;
Picture BorderStyleSample(int style);  // style 1..13
// A palette colour (0xRRGGBB) as the platform's colour value.
WinColor SwatchColor(int paletteIndex);

}  // namespace tavo
