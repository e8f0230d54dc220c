#pragma once

// The cases of the spreadsheet macros' tests (excel_macro_test.cpp): the
// settings, a workbook for the walk of the cells, the ways an export ends,
// the rules and the shapes held against the workbook host's, the sheets a
// build cannot read.
#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "excel_macro_support.h"
#include "platform/encoding.h"
#include "settings/sheet_palette.h"
#include "viewer/text_layout.h"
#include "workbook/border_pens.h"
#include "workbook/cell_text.h"
#include "workbook/sheet_grid.h"
#include "workbook/workbook_reader.h"
#include "workbook/xlsx_drawing.h"
#include "workbook_support.h"

namespace tavo::test {

// The settings the macros and the workbook host get: the factory ones with
// filled cells as solids, to a .jwc file, and a line type of its own for
// each border style (1 to 13; the library does not check them), so that a
// call tells the style it was drawn for.
inline TavoSettings TestSettings() {
    TavoSettings s = tavo::test::FactoryHostSettings();
    s.ExchangeCaret = 0;
    s.ExchangeSolid = -1;
    s.ExportTarget = 2;
    for (uint8_t i = 0; i < 13; ++i) s.BTypeIndex[i] = static_cast<uint8_t>(i + 1);
    return s;
}

// A sheet for the walk of the cells beyond the corpus: every border style
// in a colour of its own, diagonals, fills that join and a filled merged
// area, stacked and turned texts, texts that run on or are cut, fonts,
// alignments, a hidden row and a hidden column.
inline void WriteWalkBook(const std::string& path) {
    tavo::test::WriteXlsx(path, [](lxw_workbook* wb, lxw_worksheet* ws) {
        const uint8_t styles[] = {LXW_BORDER_HAIR, LXW_BORDER_DOTTED, LXW_BORDER_DASH_DOT_DOT, LXW_BORDER_DASH_DOT,
                                  LXW_BORDER_DASHED, LXW_BORDER_THIN, LXW_BORDER_MEDIUM_DASH_DOT_DOT,
                                  LXW_BORDER_SLANT_DASH_DOT, LXW_BORDER_MEDIUM_DASH_DOT, LXW_BORDER_MEDIUM_DASHED,
                                  LXW_BORDER_MEDIUM, LXW_BORDER_THICK, LXW_BORDER_DOUBLE};
        const lxw_color_t colors[] = {0xFF0000, 0x0000FF, 0x33CCCC, 0x008000, 0x993366, 0x808080, 0xFFCC99};
        lxw_format* title = workbook_add_format(wb);
        format_set_align(title, LXW_ALIGN_CENTER);
        format_set_font_size(title, 16);
        format_set_bottom(title, LXW_BORDER_THICK);
        worksheet_merge_range(ws, 0, 0, 0, 3, "罫線の見本", title);
        for (int i = 0; i < 13; ++i) {
            lxw_format* f = workbook_add_format(wb);
            format_set_bottom(f, styles[i]);
            if (i % 2 == 0) format_set_bottom_color(f, colors[i % 7]);
            format_set_right(f, LXW_BORDER_THIN);
            worksheet_write_number(ws, static_cast<lxw_row_t>(i + 1), 1, i + 1, f);
        }
        lxw_format* diagonal = workbook_add_format(wb);
        format_set_diag_type(diagonal, LXW_DIAGONAL_BORDER_UP_DOWN);
        format_set_diag_border(diagonal, LXW_BORDER_THIN);
        worksheet_write_blank(ws, 2, 3, diagonal);
        lxw_format* yellow = workbook_add_format(wb);
        format_set_pattern(yellow, LXW_PATTERN_SOLID);
        format_set_bg_color(yellow, 0xFFFF00);
        lxw_format* blue = workbook_add_format(wb);
        format_set_pattern(blue, LXW_PATTERN_SOLID);
        format_set_bg_color(blue, 0x99CCFF);
        for (int r = 4; r <= 6; ++r)
            for (int c = 2; c <= 3; ++c) worksheet_write_blank(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), yellow);
        worksheet_merge_range(ws, 8, 2, 9, 3, "", blue);
        lxw_format* stacked = workbook_add_format(wb);
        format_set_rotation(stacked, 270);
        worksheet_write_string(ws, 3, 4, "縦書き", stacked);
        lxw_format* upward = workbook_add_format(wb);
        format_set_rotation(upward, 90);
        worksheet_write_string(ws, 6, 4, "上向き", upward);
        lxw_format* right = workbook_add_format(wb);
        format_set_align(right, LXW_ALIGN_RIGHT);
        worksheet_write_string(ws, 11, 6, "a text that runs on to the left", right);
        worksheet_write_string(ws, 12, 4, "a text the next cell cuts short", nullptr);
        worksheet_write_number(ws, 12, 5, 42, nullptr);
        lxw_format* centre = workbook_add_format(wb);
        format_set_align(centre, LXW_ALIGN_CENTER);
        format_set_align(centre, LXW_ALIGN_VERTICAL_TOP);
        worksheet_write_string(ws, 13, 4, "中央に置いて両側へはみ出す文", centre);
        lxw_format* big = workbook_add_format(wb);
        format_set_font_size(big, 20);
        format_set_align(big, LXW_ALIGN_VERTICAL_CENTER);
        worksheet_write_string(ws, 1, 6, "大", big);
        worksheet_write_string(ws, 2, 6, "two\nlines", nullptr);
        worksheet_write_number(ws, 3, 6, 1234.5, nullptr);
        for (lxw_col_t c = 0; c <= 7; ++c) worksheet_set_column(ws, c, c, c == 4 ? 6 : 10, nullptr);
        lxw_row_col_options hidden{};
        hidden.hidden = 1;
        worksheet_set_column_opt(ws, 7, 7, 10, nullptr, &hidden);
        worksheet_write_string(ws, 5, 7, "hidden column", nullptr);
        worksheet_set_row_opt(ws, 10, LXW_DEF_ROW_HEIGHT, nullptr, &hidden);
        worksheet_write_string(ws, 10, 0, "hidden row", nullptr);
        worksheet_set_row(ws, 1, 30, nullptr);
    });
}

// Ways an export ends: the replies that lead there (besides the settings)
// and the calls that follow the settings dialog, but the adds.
struct ExportScenario {
    std::string name;
    std::string replies;
    std::vector<std::string> calls;
    std::string message = {};  // in the message box at the end, if any
    uint8_t target = 2;
    std::string fileName = "out";
};

inline std::vector<ExportScenario> ExportScenarios() {
    const std::vector<std::string> upToSave = {"ShowExportForm", "ReadInifile", "ProgressCreate", "DrawWidth",
                                               "ObjCreateByInifile", "ProgressDestroy", "ReadIniString",
                                               "ReadIniString", "SetObjComment", "ReadIniString"};
    const auto then = [&upToSave](std::vector<std::string> tail) {
        std::vector<std::string> all = upToSave;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    return {
        {"cancelled in the dialog", "ShowExportForm\t2\n", {"ShowExportForm"}},
        {"dialog without a display", "ShowExportForm\t2\nTavoGetLastError@ShowExportForm\tno display\n",
         {"ShowExportForm", "MsgBox"}, "no display"},
        {"cancelled while reading", "Progress\t-1\nProgress\t0\n",
         {"ShowExportForm", "ReadInifile", "ProgressCreate", "ProgressDestroy"}},
        {"cancelled while drawing texts", "Progress\t-1\nProgress\t-1\nProgress\t-1\nProgress\t-1\nProgress\t0\n",
         {"ShowExportForm", "ReadInifile", "ProgressCreate", "DrawWidth", "ObjCreateByInifile", "ProgressDestroy",
          "ObjDestroy"}},
        {"the save fails", "TavoGetLastError@ObjSaveToJwcFile\tcannot create out.jwc\n",
         then({"ObjSaveToJwcFile", "ObjDestroy", "MsgBox"}), "cannot create out.jwc"},
        {"to the preview", "", then({"ShowJwBrws", "ObjDestroy"}), "", 0},
        {"to the clipboard", "", then({"ObjCopyToAsJwt", "MsgBox", "ObjDestroy"}), "", 1},
        {"to a coordinate file", "", then({"ObjSaveToTxtFile", "MsgBox", "ObjDestroy"}), "", 3},
        {"no file name, none chosen", "", then({"GetSaveAsFilename", "ObjDestroy"}), "", 2, ""},
        {"no file name, one chosen", "GetSaveAsFilename\tchosen.jwc\n", then({"GetSaveAsFilename", "ObjSaveToJwcFile", "MsgBox", "ObjDestroy"}),
         "chosen.jwc", 2, ""},
    };
}

// Rules of the macros and the workbook host's answers: the input lines of
// RuleProbe.bas's ProbeRules and what the workbook host gives for each.
inline std::vector<std::pair<std::string, std::string>> RuleCases() {
    using namespace tavo::workbook;
    std::vector<std::pair<std::string, std::string>> cases;
    std::mt19937 random(27);
    std::vector<uint32_t> colors(tavo::kSheetPalette.begin(), tavo::kSheetPalette.end());
    for (int i = 0; i < 40; ++i) colors.push_back(random() & 0xFFFFFF);
    for (uint32_t rgb : colors) cases.emplace_back("palette\t" + std::to_string(rgb), std::to_string(NearestPaletteIndex(rgb)));
    // Excel's DashStyle (MsoLineDashStyle 1 to 12) and the DrawingML dash it is written as.
    const char* dashes[] = {"solid", "sysDash", "sysDot", "dash", "dashDot", "sysDashDotDot", "lgDash", "lgDashDot",
                            "lgDashDotDot", "sysDash", "sysDot", "sysDashDot"};
    for (int dash = 1; dash <= 12; ++dash)
        for (double weight : {0.25, 0.75, 1.1, 1.5, 2.25, 3.0})
            for (int compound : {0, 1})
                cases.emplace_back("shapeline\t" + std::to_string(dash) + "\t" + std::to_string(weight) + "\t" + std::to_string(compound),
                                   std::to_string(static_cast<int>(LineStyleOf(dashes[dash - 1], weight, compound != 0))));
    const TavoSettings s = TestSettings();
    for (double font : {6.0, 8.0, 9.0, 10.5, 11.0, 14.0, 20.0, 36.0, 72.0})
        for (double mm : {0.1, 0.35, 1.0})
            cases.emplace_back("textsize\t" + std::to_string(font) + "\t" + std::to_string(mm),
                               std::to_string(TextSizeFor(font, mm, s)));
    const std::vector<std::string> texts = {"Aa1.,:;'il jI!|-()/tfr", "見積書 No.12", "ｱｲｳ カナ", "m^u2^d3", "^u",
                                            "x^", "^o^b^B^c", "罫線^uの見本"};
    for (const std::string& t : texts) {
        const std::string cp = tavo::platform::Utf8ToCp932(t);
        char points[40];
        std::snprintf(points, sizeof points, "%.9f", SheetTextPoints(cp, 11.0));
        cases.emplace_back("points\t" + tavo::test::Escaped(t) + "\t11", points);
        cases.emplace_back("cells\t" + tavo::test::Escaped(t), std::to_string(tavo::TextCells(cp)));
        for (double width : {0.0, 8.0, 20.0, 45.0})
            for (HAlign align : {HAlign::Left, HAlign::Center, HAlign::Right})
                cases.emplace_back("cut\t" + tavo::test::Escaped(t) + "\t11\t" + std::to_string(width) + "\t" +
                                       std::to_string(static_cast<int>(align)),
                                   tavo::test::Escaped(tavo::platform::Cp932ToUtf8(CutToSheetWidth(cp, 11.0, width, align))));
    }
    return cases;
}

// Drawn shapes as the workbook host reads them from the corpus's shapes
// book, and more of every kind: turned, flipped, with arrows, rounded,
// bent, text boxes of every alignment.
inline std::vector<tavo::workbook::SheetShape> ShapeCases(const std::string& shapesBook) {
    using namespace tavo::workbook;
    std::vector<SheetShape> shapes = ReadWorkbookSheet(shapesBook, {}).shapes;
    SheetShape s;
    s.box.from = {2, 1, 0, 0};
    s.box.to = SheetPoint{6, 4, 3, 10};
    s.outline = {BorderStyle::Medium, SheetColor::Rgb(0x3366FF)};
    for (ShapeKind kind : {ShapeKind::Line, ShapeKind::Elbow, ShapeKind::Rect, ShapeKind::RoundRect, ShapeKind::Ellipse}) {
        for (double rotation : {0.0, 30.0, 250.0}) {
            s.kind = kind;
            s.rotation = rotation;
            s.flipH = rotation > 100;
            s.flipV = rotation == 30.0;
            s.headArrow = s.tailArrow = kind == ShapeKind::Line || kind == ShapeKind::Elbow;
            s.adjust = kind == ShapeKind::RoundRect ? 0.3 : 0.35;
            shapes.push_back(s);
        }
    }
    s.kind = ShapeKind::Ellipse;
    s.box.to = SheetPoint{12, 2, 0, 0};
    shapes.push_back(s);
    s.kind = ShapeKind::Polygon;
    s.points = {{0.5, 0}, {1, 0.7}, {0.2, 1}, {0, 0.4}};
    s.closed = false;
    shapes.push_back(s);
    s.closed = true;
    s.outline.color = SheetColor{};
    shapes.push_back(s);
    s.kind = ShapeKind::Rect;
    s.outline.style = BorderStyle::None;
    s.text = "一行目\n2nd line\n";
    s.fontPoints = 14;
    for (HAlign h : {HAlign::Left, HAlign::Center, HAlign::Right})
        for (VAlign v : {VAlign::Top, VAlign::Center, VAlign::Bottom}) {
            s.textAlign = h;
            s.textAnchor = v;
            shapes.push_back(s);
        }
    return shapes;
}

// The paper box and the fields ProbeShape takes for each shape, as the
// workbook host places it.
inline std::vector<std::string> ShapeProbes(const std::vector<tavo::workbook::SheetShape>& shapes, const tavo::workbook::SheetGrid& grid,
                                     double mm) {
    std::vector<std::string> out;
    for (const tavo::workbook::SheetShape& s : shapes) {
        const auto& b = s.box;
        const double x0 = grid.paperX(b.from), y0 = grid.paperY(b.from);
        const double x1 = b.to ? grid.paperX(*b.to) : x0 + b.width * mm, y1 = b.to ? grid.paperY(*b.to) : y0 - b.height * mm;
        std::ostringstream f;
        f << std::setprecision(17) << static_cast<int>(s.kind) << '\t' << x0 + b.inner[0] * (x1 - x0) << '\t'
          << x0 + b.inner[2] * (x1 - x0) << '\t' << y0 + b.inner[3] * (y1 - y0) << '\t' << y0 + b.inner[1] * (y1 - y0) << '\t'
          << s.rotation << '\t' << s.flipH << '\t' << s.flipV << '\t' << static_cast<int>(s.outline.style) << '\t'
          << (s.outline.color.automatic ? -1 : static_cast<int64_t>(s.outline.color.rgb)) << '\t' << s.headArrow << '\t'
          << s.tailArrow << '\t' << s.arrowPoints << '\t' << s.adjust << '\t' << s.closed << '\t' << s.fontPoints << '\t'
          << static_cast<int>(s.textAlign) << '\t' << (s.textAnchor == tavo::workbook::VAlign::Top ? 2 : s.textAnchor == tavo::workbook::VAlign::Center ? 1 : 0)
          << '\t' << tavo::test::Escaped(s.text);
        for (const auto& [u, v] : s.points) f << '\t' << u << '\t' << v;
        out.push_back(f.str());
    }
    return out;
}

// Sheets a build cannot make a drawing of: the rows, and what the message
// box says besides the sheet and the row.
struct BuildFailure {
    std::string name;
    std::vector<std::vector<std::string>> rows;
    std::string says;
};

inline std::vector<BuildFailure> BuildFailures() {
    const std::vector<std::string> drawing{"Drawing", "3", "100"};
    return {
        {"an unknown kind", {drawing, {"Sen", "1", "2", "3", "4", "1", "1", "0", "0", "0"}, {"Circle", "1"}}, "\"Circle\""},
        {"a word for a number", {drawing, {"Sen", "1", "two", "3", "4", "1", "1", "0", "0", "0"}}, "3 列目 \"two\""},
        {"a byte out of range", {drawing, {"Ten", "1", "2", "256", "1", "0"}}, "4 列目 \"256\" は 0 から 255"},
        {"a long comment", {drawing, {"Comment", "この注記は三十二バイトを超えています", "x"}}, "32 バイト"},
        {"a paper size out of range", {{"Drawing", "7", "100"}}, "2 列目 \"7\" は 0 から 4"},
    };
}

inline void WriteRows(const std::string& path, const std::vector<std::vector<std::string>>& rows) {
    tavo::test::WriteXlsx(path, [&rows](lxw_workbook*, lxw_worksheet* ws) {
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                char* end = nullptr;
                const double v = std::strtod(rows[r][c].c_str(), &end);
                if (end != rows[r][c].c_str() && *end == '\0')
                    worksheet_write_number(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), v, nullptr);
                else
                    worksheet_write_string(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), rows[r][c].c_str(), nullptr);
            }
    });
}

inline const std::map<int, std::string>& Strings() {
    static const std::map<int, std::string> strings{{1, "c1"}, {2, "コメント"}, {3, "out"}};
    return strings;
}

}  // namespace tavo::test
