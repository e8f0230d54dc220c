// The block of host/excel/TavoRules.bas between "' BEGIN GENERATED" and
// "' END GENERATED", written from the workbook host's own tables and
// constants, so that the macro and `tavo export` cannot draw a sheet by
// two copies of a table.
//
//   basic_rules --check TavoRules.bas   exit 1, naming the first difference, when the block is stale
//   basic_rules --write TavoRules.bas   rewrites the block
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "settings/sheet_palette.h"
#include "workbook/cell_collector.h"
#include "workbook/border_pens.h"
#include "workbook/cell_text.h"
#include "workbook/shape_drawing.h"
#include "workbook/text_placement.h"

namespace {

using namespace tavo::workbook;

const char* const kBegin = "' BEGIN GENERATED";
const char* const kEnd = "' END GENERATED";

std::string Number(double v) {
    char text[40];
    for (int digits = 1; digits <= 17; ++digits) {  // the shortest that reads back the same
        std::snprintf(text, sizeof text, "%.*g", digits, v);
        if (std::stod(text) == v) break;
    }
    return text;
}

// A string constant, split over continued lines of at most ~110 columns.
std::string StringConst(const std::string& name, const std::vector<std::string>& items) {
    std::string out = "Private Const " + name + " As String = \"";
    std::size_t width = out.size();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string item = items[i] + (i + 1 < items.size() ? "," : "");
        if (width + item.size() > 110) {
            out += "\" & _\n    \"";
            width = 5;
        }
        out += item;
        width += item.size();
    }
    return out + "\"\n";
}

std::string Block() {
    std::ostringstream out;
    using B = BorderStyle;
    const std::pair<const char*, B> styles[] = {
        {"HAIR", B::Hair}, {"DOTTED", B::Dotted}, {"DASH_DOT_DOT", B::DashDotDot}, {"DASH_DOT", B::DashDot}, {"DASHED", B::Dashed},
        {"THIN", B::Thin}, {"MEDIUM_DASH_DOT_DOT", B::MediumDashDotDot}, {"SLANT_DASH_DOT", B::SlantDashDot},
        {"MEDIUM_DASH_DOT", B::MediumDashDot}, {"MEDIUM_DASHED", B::MediumDashed}, {"MEDIUM", B::Medium}, {"THICK", B::Thick},
        {"DOUBLE", B::Double}};
    for (const auto& [name, style] : styles)
        out << "Public Const TAVO_STYLE_" << name << " As Long = " << static_cast<int>(style) << "\n";
    const std::pair<const char*, double> constants[] = {
        {"CELL_MARGIN_POINTS", kCellMarginPoints}, {"CELL_PADDING_POINTS", kCellPaddingPoints}, {"LINE_SPACING", kLineSpacing},
        {"TEXT_BOX_INSET_X", kInsetXPoints}, {"TEXT_BOX_INSET_Y", kInsetYPoints}, {"ARROW_DEGREES", kArrowDegrees}};
    for (const auto& [name, value] : constants)
        out << "Public Const TAVO_" << name << " As Double = " << Number(value) << "\n";
    // A drawing of more rows or cells is refused.
    out << "Public Const TAVO_MAX_ROWS As Long = " << kMaxDrawnRows << "\n";
    out << "Public Const TAVO_MAX_CELLS As Long = " << kMaxDrawnCells << "\n";
    // Widths as the sheet's fonts draw them: a digit's width in points per
    // point of font size, and each character's width in digits.
    const double digit = SheetTextPoints("0", 1.0);
    out << "Private Const TAVO_DIGIT_POINTS As Double = " << Number(digit) << "\n";
    std::vector<std::string> ascii;
    for (int c = 32; c <= 126; ++c) ascii.push_back(Number(SheetTextPoints(std::string(1, static_cast<char>(c)), 1.0) / digit));
    out << StringConst("TAVO_ASCII_DIGITS", ascii);
    out << "Private Const TAVO_KANA_DIGITS As Double = " << Number(SheetTextPoints("\xB1", 1.0) / digit) << "\n";
    out << "Private Const TAVO_WIDE_DIGITS As Double = " << Number(SheetTextPoints("\x82\xA0", 1.0) / digit) << "\n";
    std::vector<std::string> palette;
    for (const uint8_t index : PaletteSearchOrder()) {
        char rgb[8];
        std::snprintf(rgb, sizeof rgb, "%06X", static_cast<unsigned>(tavo::kSheetPalette.at(index - 1U)));
        palette.push_back(std::to_string(index) + ":" + rgb);
    }
    out << StringConst("TAVO_PALETTE", palette);
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "--check" && mode != "--write") {
        std::cerr << "usage: basic_rules --check|--write TavoRules.bas\n";
        return 2;
    }
    const std::string path = argv[2];
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t begin = text.find(kBegin), end = text.find(kEnd);
    if (!in || begin == std::string::npos || end == std::string::npos || end < begin) {
        std::cerr << path << ": no block between \"" << kBegin << "\" and \"" << kEnd << "\"\n";
        return 1;
    }
    // In the module's own line ends: the macro editor imports CR LF.
    const std::size_t first = text.find('\n', begin) + 1;
    std::string block;
    for (char c : Block()) block += c == '\n' && text[first - 2] == '\r' ? std::string("\r\n") : std::string(1, c);
    if (mode == "--write") std::ofstream(path, std::ios::binary) << text.substr(0, first) << block << text.substr(end);
    if (mode == "--write" || text.compare(first, end - first, block) == 0) return 0;
    std::cerr << path << ": the generated block is not the workbook host's tables; run basic_rules --write " << path << "\n";
    return 1;
}
