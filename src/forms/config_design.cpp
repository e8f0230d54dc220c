#include "forms/config_design.h"

#include "forms/config_texts.h"
#include "forms/form_texts.h"
#include "settings/sheet_palette.h"

namespace tavo {

namespace {

struct PageInfo {
    uint8_t Page;
    ConfigPanel Panel;
    int32_t HelpContext;
};

constexpr PageInfo kPages[] = {
    {1, ConfigPanel::ExpTarget, 1010},  {2, ConfigPanel::ExpTarget, 1040},  {3, ConfigPanel::ExpScale, 1050},
    {4, ConfigPanel::ExpLayer, 1060},   {5, ConfigPanel::LineColor, 1070},  {6, ConfigPanel::LineType, 1080},
    {7, ConfigPanel::Moji, 1090},       {8, ConfigPanel::Option, 1100},     {21, ConfigPanel::DumpFile, 2010},
    {22, ConfigPanel::DumpFile, 2020},  {31, ConfigPanel::ExpTarget, 3010}, {32, ConfigPanel::ExpTarget, 3030},
    {33, ConfigPanel::ExpScale, 3040},  {34, ConfigPanel::Moji, 3050},      {101, ConfigPanel::About, 110},
};

const PageInfo* FindPage(uint8_t page) {
    for (const PageInfo& p : kPages)
        if (p.Page == page) return &p;
    return nullptr;
}

bool IsDigit(int key) { return key >= '0' && key <= '9'; }

}  // namespace

const std::vector<ConfigTreeEntry>& ConfigTree(ConfigMode mode) {
    using namespace sjis;
    static const std::vector<ConfigTreeEntry> kExport{
        {kTreeExport, 1, 1}, {kTreeTarget, 2, 2},   {kTreePaperScale, 2, 3}, {kTreeLayer, 2, 4},
        {kTreeLineColor, 2, 5}, {kTreeLineType, 2, 6}, {kTreeMoji, 2, 7},       {kTreeOption, 2, 8},
        {kTreeVersion, 1, 101}};
    static const std::vector<ConfigTreeEntry> kDump{{kTreeDump, 1, 21}, {kTreeJwcFile, 2, 22}, {kTreeVersion, 1, 101}};
    static const std::vector<ConfigTreeEntry> kBuild{{kTreeBuild, 1, 31}, {kTreeTarget, 2, 32}, {kTreeScale, 2, 33},
                                                     {kTreeMoji, 2, 34},  {kTreeVersion, 1, 101}};
    switch (mode) {
        case ConfigMode::Dump: return kDump;
        case ConfigMode::Build: return kBuild;
        case ConfigMode::Export: break;
    }
    return kExport;
}

ConfigPanel PanelOfPage(uint8_t page) {
    const PageInfo* p = FindPage(page);
    return p ? p->Panel : ConfigPanel::None;
}

int32_t HelpContextOfPage(uint8_t page) {
    const PageInfo* p = FindPage(page);
    return p ? p->HelpContext : 110;
}

const char* PanelName(ConfigPanel panel) {
    switch (panel) {
        case ConfigPanel::ExpTarget: return "pnExpTarget";
        case ConfigPanel::ExpScale: return "pnExpScale";
        case ConfigPanel::ExpLayer: return "pnExpLayer";
        case ConfigPanel::LineColor: return "pnLineColor";
        case ConfigPanel::LineType: return "pnLineType";
        case ConfigPanel::Moji: return "pnMoji";
        case ConfigPanel::Option: return "pnOption";
        case ConfigPanel::DumpFile: return "pnDumpFile";
        case ConfigPanel::About: return "pnAbout";
        case ConfigPanel::None: break;
    }
    return "";
}

const char* ModeCaption(ConfigMode mode) {
    switch (mode) {
        case ConfigMode::Dump: return sjis::kDumpCaption;
        case ConfigMode::Build: return sjis::kBuildCaption;
        case ConfigMode::Export: break;
    }
    return sjis::kExportCaption;
}

KeyAnswer FilterKey(KeyFilter filter, int key) {
    if (key == kKeyReturn) return filter == KeyFilter::Grid ? KeyAnswer::NextCell : KeyAnswer::NextControl;
    if (key == kKeyBack) return KeyAnswer::Pass;
    bool through = false;
    switch (filter) {
        case KeyFilter::Decimal: through = IsDigit(key) || key == '.'; break;
        case KeyFilter::Digits:
        case KeyFilter::Grid: through = IsDigit(key); break;
        case KeyFilter::Pen: through = key >= '1' && key <= '6'; break;
        case KeyFilter::LineType: through = key >= '1' && key <= '9'; break;
    }
    return through ? KeyAnswer::Pass : KeyAnswer::Swallow;
}

GridCell NextGridCell(GridCell at, int colCount, int rowCount) {
    if (at.Col + 1 < colCount) return {at.Col + 1, at.Row};
    const int row = at.Row + 1 < rowCount ? at.Row + 1 : 1;
    return {1, row};
}

const std::array<ColorSwatch, kSwatchCount> kColorSwatches{{
    {1, 2},  {53, 5}, {52, 6}, {51, 2}, {49, 2}, {11, 6}, {55, 6}, {56, 2},  //
    {9, 5},  {46, 4}, {12, 3}, {10, 3}, {14, 3}, {5, 6},  {47, 6}, {16, 2},  //
    {3, 5},  {45, 4}, {43, 3}, {50, 3}, {42, 1}, {41, 6}, {13, 5}, {48, 2},  //
    {7, 5},  {44, 4}, {6, 4},  {4, 3},  {8, 1},  {33, 1}, {54, 5}, {15, 2},  //
    {38, 5}, {40, 4}, {36, 4}, {35, 3}, {34, 1}, {37, 1}, {39, 5}, {2, 2},   //
}};

const std::array<uint8_t, 13> kFactoryLineTypes{1, 2, 7, 5, 3, 1, 8, 8, 6, 4, 1, 1, 1};

WinColor SwatchColor(int paletteIndex) {
    const uint32_t rgb = kSheetPalette.at(static_cast<std::size_t>(paletteIndex - 1));
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

}  // namespace tavo
