// The spreadsheet macros (host/excel) checked without Excel: LibreOffice
// Calc runs them headless, with a stand-in for the declarations that logs
// every call of the library (tests/excel). On each workbook of the workbook
// host's corpus the export macro makes the same calls, in the same order,
// as src/workbook does for the same sheet; dumping a .jwc gives the rows of
// `tavo dump`, and building from them the bytes of `tavo build`; and the
// macros' rules give the answers of the workbook host's functions.
//
// Where LibreOffice 7.4's emulation of Excel's objects differs from Excel's
// documentation, the macros follow Excel and the test compares around it:
// - a column of n characters is as wide as LibreOffice's fonts make it:
//   each workbook's columns and rows get the widths and heights Excel shows
//   (those src/workbook reads) before the macro runs;
// - Border.LineStyle reads every border, even a missing one, as continuous
//   and Border.Weight fails for medium dashed ones: the harness hands the
//   macro borders as Excel documents them, from LibreOffice's own border
//   properties (tests/excel/StandInBorders.cls); LibreOffice has no
//   automatic border colour, so black stands for it (as src/workbook reads
//   .ods files);
// - StrConv(bytes, vbUnicode), with which the dump reads a .jwc file's
//   comments, decodes the system's code page: Shift-JIS in Excel on
//   Japanese Windows, Windows-1252 in LibreOffice on Linux; the test reads
//   the comments that way, and gives them back as those bytes;
// - see AsLibreOfficeShowsIt below for the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>

#include "excel_macro_support.h"
#include "platform/encoding.h"
#include "workbook/border_pens.h"
#include "workbook/cell_text.h"
#include "workbook/shape_drawing.h"
#include "workbook/sheet_drawing.h"
#include "workbook/workbook_reader.h"
#include "viewer/text_layout.h"
#include "workbook/xlsx_drawing.h"
#include "workbook_corpus.h"

namespace {

namespace fs = std::filesystem;
using tavo::test::LoggedCall;
using tavo::test::MacroJob;
using tavo::test::MacroResult;
using tavo::workbook::RecordedCall;

// The settings the macros and the workbook host get: the factory ones with
// filled cells as solids, to a .jwc file, and a line type of its own for
// each border style (1 to 13; the library does not check them), so that a
// call tells the style it was drawn for.
TavoSettings TestSettings() {
    TavoSettings s = tavo::test::FactoryHostSettings();
    s.ExchangeCaret = 0;
    s.ExchangeSolid = -1;
    s.ExportTarget = 2;
    for (uint8_t i = 0; i < 13; ++i) s.BTypeIndex[i] = static_cast<uint8_t>(i + 1);
    return s;
}

bool IsAdd(const std::string& name) { return name.compare(0, 3, "Add") == 0; }

std::string Utf8(const std::string& cp932) { return tavo::platform::Cp932ToUtf8(cp932); }

// A logged add call in the form the workbook host's recording keeps.
RecordedCall AsRecorded(const LoggedCall& c) {
    RecordedCall r;
    r.name = c.name;
    const auto f = [&c](std::size_t i) { return i < c.args.size() ? std::stof(c.args[i]) : 0.0f; };
    const auto n = [&c](std::size_t i) { return i < c.args.size() ? static_cast<int32_t>(std::stod(c.args[i])) : 0; };
    r.xy = {f(0), f(1), f(2), f(3)};
    if (c.name == "AddLine") {
        r.color = n(4);
        r.lay = static_cast<uint8_t>(n(5));
        r.kind = static_cast<uint8_t>(n(6));
    } else if (c.name == "AddText" || c.name == "AddTextV") {
        r.kind = static_cast<uint8_t>(n(4));
        r.lay = static_cast<uint8_t>(n(5));
        r.text = c.args.size() > 6 ? c.args[6] : "";
    } else if (c.name == "AddCircle") {
        r.angles = {f(4), f(5), f(6)};
        r.color = n(7);
        r.lay = static_cast<uint8_t>(n(8));
        r.kind = static_cast<uint8_t>(n(9));
    } else if (c.name == "AddSolid") {
        r.color = n(4);
        r.lay = static_cast<uint8_t>(n(5));
    }
    return r;
}

std::string Describe(const RecordedCall& c, bool cp932) {
    std::ostringstream s;
    s << c.name << " (" << c.xy[0] << ", " << c.xy[1] << ", " << c.xy[2] << ", " << c.xy[3] << ") pen/colour " << c.color
      << " lay " << +c.lay << " type/size " << +c.kind << " \"" << (cp932 ? Utf8(c.text) : c.text) << "\"";
    return s.str();
}

// The workbook host's add calls and the macro's agree call for call: the
// same export, coordinates within 0.1 mm, the same pens, line types,
// layers and texts.
void ExpectSameAdds(const std::vector<RecordedCall>& host, const std::vector<LoggedCall>& macro, const std::string& what) {
    std::vector<RecordedCall> want, got;
    for (const RecordedCall& c : host)
        if (IsAdd(c.name)) want.push_back(c);
    for (const LoggedCall& c : macro)
        if (IsAdd(c.name)) got.push_back(AsRecorded(c));
    int reported = 0;
    for (std::size_t i = 0; i < std::max(want.size(), got.size()) && reported < 12; ++i) {
        const bool same = i < want.size() && i < got.size() && [&] {
            const RecordedCall &a = want[i], &b = got[i];
            for (std::size_t k = 0; k < 4; ++k)
                if (std::fabs(a.xy[k] - b.xy[k]) > 0.1) return false;
            for (std::size_t k = 0; k < 3; ++k)
                if (std::fabs(a.angles[k] - b.angles[k]) > 0.01) return false;
            return a.name == b.name && a.color == b.color && a.lay == b.lay && a.kind == b.kind && Utf8(a.text) == b.text;
        }();
        if (same) continue;
        ++reported;
        ADD_FAILURE() << what << ": call " << i + 1 << " of the adds: the workbook host makes "
                      << (i < want.size() ? Describe(want[i], true) : std::string("none")) << ", the macro "
                      << (i < got.size() ? Describe(got[i], false) : std::string("none"));
    }
    EXPECT_EQ(want.size(), got.size()) << what;
}

// Columns and rows as Excel lays them out (the workbook host's sizes), up to
// a little beyond the drawn range.
void ExcelGeometry(const std::string& book, MacroJob& job) {
    const tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(book, {});
    const auto range = tavo::workbook::DrawnRange(model, std::nullopt);
    if (!range) return;
    for (int32_t c = 0; c <= range->lastCol + 2; ++c) job.columns.emplace_back(c, model.columns.visibleSize(c));
    for (int32_t r = 0; r <= range->lastRow + 2; ++r) job.rows.emplace_back(r, model.rows.visibleSize(r));
}

// What LibreOffice 7.4's emulation of Excel's objects lets a macro read of
// a sheet, in the workbook host's terms; each difference from Excel's
// documentation is one change here:
// - Range.Text of a truth value is 1 or 0 (Excel: TRUE or FALSE);
// - an error value's Range.Value is a number (Excel: an error, which the
//   workbook host takes for a text), so it stands right in its cell;
// - the HorizontalAlignment of a stacked or turned text in general
//   alignment is xlRight (Excel: xlGeneral);
// - Shape has no AutoShapeType, HorizontalFlip, VerticalFlip, Adjustments,
//   GroupItems or Line.EndArrowheadStyle: of the drawn shapes only straight
//   lines and connectors are read, without an arrow head at their end.
void AsLibreOfficeShowsIt(tavo::workbook::SheetModel& m) {
    using tavo::workbook::CellKind;
    const std::vector<std::string> errors{"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A"};
    for (tavo::workbook::Cell& c : m.cells) {
        if (c.kind == CellKind::Boolean) {
            c.text = m.addText({c.number != 0 ? "1" : "0", {}});
        } else if (c.kind == CellKind::Text && c.text < m.texts.size() &&
                   std::find(errors.begin(), errors.end(), m.texts[c.text].text) != errors.end()) {
            c.kind = CellKind::Number;
        }
    }
    for (tavo::workbook::CellFormat& f : m.formats)
        if ((f.verticalText || f.rotation != 0) && f.hAlign == tavo::workbook::HAlign::General) f.hAlign = tavo::workbook::HAlign::Right;
    std::vector<tavo::workbook::SheetShape> lines;
    for (tavo::workbook::SheetShape shape : m.shapes)
        if (shape.kind == tavo::workbook::ShapeKind::Line) {
            shape.tailArrow = false;
            lines.push_back(shape);
        }
    m.shapes = lines;
}

// The workbook host's calls for a sheet as LibreOffice shows it.
std::vector<RecordedCall> HostCalls(const std::string& book, const TavoSettings& settings) {
    tavo::workbook::RecordingExportCalls calls(settings);
    const TavoSettings s = calls.ReadInifile();
    const std::string comment1 = calls.ReadIniString(1), comment2 = calls.ReadIniString(2);
    tavo::workbook::ReadOptions read;
    read.collect.keepFills = s.ExchangeSolid != 0;
    tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(book, read);
    AsLibreOfficeShowsIt(model);
    const auto range = tavo::workbook::DrawnRange(model, std::nullopt);
    if (!range) return calls.calls;
    calls.ObjCreateByInifile();
    calls.SetObjComment(comment1, comment2);
    tavo::workbook::SheetTextConverter toCp932(book, model.name, false);
    tavo::workbook::DrawSheet(model, *range, s, calls, toCp932);
    return calls.calls;
}

// A sheet for the walk of the cells beyond the corpus: every border style
// in a colour of its own, diagonals, fills that join and a filled merged
// area, stacked and turned texts, texts that run on or are cut, fonts,
// alignments, a hidden row and a hidden column.
void WriteWalkBook(const std::string& path) {
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

std::vector<std::pair<std::string, std::vector<std::string>>> ExportCalls(const std::string& replies) {
    return {{"StandInStart", {replies}}, {"TavoExportSheet", {}}, {"StandInFinish", {}}};
}

// The calls of the export task, but the adds, Progress and the error
// questions, in the order the macro makes them for the target of the test's
// settings (a .jwc file).
const std::vector<std::string> kExportFraming = {
    "ShowExportForm", "ReadInifile", "ProgressCreate", "DrawWidth",     "ObjCreateByInifile", "ProgressDestroy",
    "ReadIniString",  "ReadIniString", "SetObjComment", "ReadIniString", "ObjSaveToJwcFile",   "MsgBox",
    "ObjDestroy"};

std::vector<std::string> Framing(const std::vector<LoggedCall>& log) {
    std::vector<std::string> names;
    for (const std::string& n : tavo::test::CallNames(log))
        if (!IsAdd(n)) names.push_back(n);
    return names;
}

// Ways an export ends: the replies that lead there (besides the settings)
// and the calls that follow the settings dialog, but the adds.
struct ExportScenario {
    std::string name;
    std::string replies;
    std::vector<std::string> calls;
    std::string message;  // in the message box at the end, if any
    uint8_t target = 2;
    std::string fileName = "out";
};

std::vector<ExportScenario> ExportScenarios() {
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
std::vector<std::pair<std::string, std::string>> RuleCases() {
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
                                   tavo::test::Escaped(Utf8(CutToSheetWidth(cp, 11.0, width, align))));
    }
    return cases;
}

// Drawn shapes as the workbook host reads them from the corpus's shapes
// book, and more of every kind: turned, flipped, with arrows, rounded,
// bent, text boxes of every alignment.
std::vector<tavo::workbook::SheetShape> ShapeCases(const std::string& shapesBook) {
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
std::vector<std::string> ShapeProbes(const std::vector<tavo::workbook::SheetShape>& shapes, const tavo::workbook::SheetGrid& grid,
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

std::vector<BuildFailure> BuildFailures() {
    const std::vector<std::string> drawing{"Drawing", "3", "100"};
    return {
        {"an unknown kind", {drawing, {"Sen", "1", "2", "3", "4", "1", "1", "0", "0", "0"}, {"Circle", "1"}}, "\"Circle\""},
        {"a word for a number", {drawing, {"Sen", "1", "two", "3", "4", "1", "1", "0", "0", "0"}}, "3 列目 \"two\""},
        {"a byte out of range", {drawing, {"Ten", "1", "2", "256", "1", "0"}}, "4 列目 \"256\" は 0 から 255"},
        {"a long comment", {drawing, {"Comment", "この注記は三十二バイトを超えています", "x"}}, "32 バイト"},
        {"a paper size out of range", {{"Drawing", "7", "100"}}, "2 列目 \"7\" は 0 から 4"},
    };
}

void WriteRows(const std::string& path, const std::vector<std::vector<std::string>>& rows) {
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

const std::map<int, std::string>& Strings() {
    static const std::map<int, std::string> strings{{1, "c1"}, {2, "コメント"}, {3, "out"}};
    return strings;
}

// A drawing file to dump: the bundled export of examples/form.xlsx, and
// every entity kind (examples/entities.csv built with `tavo build --mm`).
struct DrawingFile {
    std::string name, path;
};

std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
        if (pclose(p) != 0) ADD_FAILURE() << command << " failed";
    }
    return out;
}

// A .jwc comment (UTF-8 here) as LibreOffice's StrConv reads its bytes.
std::string CommentAsLibreOfficeReadsIt(const std::string& utf8) {
    return tavo::test::Converted(tavo::platform::Utf8ToCp932(utf8), "CP1252", "UTF-8");
}

std::string Signed16(uint16_t v) { return std::to_string(static_cast<int16_t>(v)); }

// The replies the library gives a dump of the file: what its exports hand
// out after JwcLoadFrom, in the order the dump macro asks.
std::string DumpReplies(const std::string& path) {
    std::ostringstream r;
    r << std::setprecision(9) << "ReadIniDump\t-1\t-1\t-1\t-1\nReadIniString:5\t" << tavo::test::Escaped(path) << '\n';
    JwcCreate(3, 100);
    const char* name = path.c_str();
    JwcLoadFrom(&name);
    const int32_t counts[4] = {GetSenCount(), GetEnkoCount(), GetMojiCount(), GetTenCount()};
    r << "GetSenCount\t" << counts[0] << "\nGetEnkoCount\t" << counts[1] << "\nGetMojiCount\t" << counts[2]
      << "\nGetTenCount\t" << counts[3] << '\n';
    for (int16_t row = 0; row <= 10; ++row) {
        TavoMojiTableRow t;
        GetTable(&t, row);
        r << "GetTable\t" << Signed16(t.PenNo) << '\t' << Signed16(t.Width) << '\t' << Signed16(t.Height) << '\t'
          << Signed16(t.Spacing) << '\n';
    }
    for (int16_t i = 0; i < counts[0]; ++i) {
        TavoSenRecord x;
        GetSen(&x, i);
        r << "GetSen\t" << x.X1 << '\t' << x.Y1 << '\t' << x.X2 << '\t' << x.Y2 << '\t' << +x.LineType << '\t' << +x.Color
          << '\t' << +x.Lay << '\t' << +x.SpareByte << '\t' << Signed16(x.SpareWord) << "\t0\t0\n";
    }
    for (int16_t i = 0; i < counts[1]; ++i) {
        TavoEnkoRecord x;
        GetEnko(&x, i);
        r << "GetEnko\t" << x.X << '\t' << x.Y << '\t' << x.R << '\t' << Signed16(x.Flatness) << "\t0\t0\t" << x.StartAngle
          << '\t' << x.EndAngle << '\t' << x.Tilt << '\t' << +x.LineType << '\t' << +x.Color << '\t' << +x.Lay << '\t'
          << +x.SpareByte << '\t' << Signed16(x.SpareWord) << "\t0\t0\n";
    }
    for (int16_t i = 0; i < counts[2]; ++i) {
        TavoMojiRecord x;
        GetMoji(&x, i);
        r << "GetMoji\t" << x.X1 << '\t' << x.Y1 << '\t' << x.X2 << '\t' << x.Y2 << '\t' << +x.MojiNo << '\t' << +x.Lay
          << '\t' << Signed16(x.Flags) << '\n';
        TavoString text = GetMojiString(i);
        r << "GetMojiString\t" << tavo::test::Escaped(Utf8(std::string(text, TavoStringByteLen(text)))) << '\n';
        TavoFreeString(text);
    }
    for (int16_t i = 0; i < counts[3]; ++i) {
        TavoTenRecord x;
        GetTen(&x, i);
        r << "GetTen\t" << x.X << '\t' << x.Y << '\t' << +x.Lay << '\t' << +x.Color << '\t' << Signed16(x.SpareWord) << '\n';
    }
    JwcDestroy();
    return r.str();
}

// The calls a build logged, made through the library, saving to `path`.
void Replay(const std::vector<LoggedCall>& log, const std::string& path) {
    for (const LoggedCall& c : log) {
        const auto f = [&c](std::size_t i) { return std::stof(c.args.at(i)); };
        const auto n = [&c](std::size_t i) { return static_cast<int32_t>(std::stod(c.args.at(i))); };
        const auto b = [&n](std::size_t i) { return static_cast<uint8_t>(n(i)); };
        const auto w = [&n](std::size_t i) { return static_cast<uint16_t>(n(i)); };
        if (c.name == "JwcCreate") {
            JwcCreate(static_cast<int16_t>(n(0)), static_cast<int16_t>(n(1)));
        } else if (c.name == "SetComment") {
            const std::string a = tavo::test::Converted(c.args.at(0), "UTF-8", "CP1252"), z = tavo::test::Converted(c.args.at(1), "UTF-8", "CP1252");
            const char *pa = a.c_str(), *pz = z.c_str();
            SetComment(&pa, &pz);
        } else if (c.name == "SetMojiTable") {
            SetMojiTable(static_cast<int16_t>(n(0)), w(1), w(2), w(3), w(4));
        } else if (c.name == "AddSen") {
            AddSen(f(0), f(1), f(2), f(3), b(4), b(5), b(6), b(7), w(8));
        } else if (c.name == "AddEnko") {
            AddEnko(f(0), f(1), f(2), w(3), n(4), n(5), n(6), b(7), b(8), b(9), b(10), w(11));
        } else if (c.name == "AddMoji") {
            const std::string text = tavo::platform::Utf8ToCp932(c.args.at(7));
            const char* p = text.c_str();
            AddMoji(f(0), f(1), f(2), f(3), b(4), b(5), w(6), &p);
        } else if (c.name == "AddTen") {
            AddTen(f(0), f(1), b(2), b(3), w(4));
        } else if (c.name == "JwcSaveTo") {
            const char* p = path.c_str();
            JwcSaveTo(&p);
        } else if (c.name == "JwcDestroy") {
            JwcDestroy();
        }
    }
}

// A CSV line's fields, quotes taken off.
std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            out.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            out.emplace_back();
        } else if (c != '\r') {
            out.back() += c;
        }
    }
    return out;
}

bool IsNumber(const std::string& s) {
    char* end = nullptr;
    std::strtod(s.c_str(), &end);
    return !s.empty() && end == s.c_str() + s.size();
}

class ExcelMacros : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new tavo::test::TempDir;
        books_ = new std::vector<tavo::test::Book>(tavo::test::Corpus());
        books_->push_back({"walk", WriteWalkBook, {}});
        std::vector<MacroJob> jobs;
        const std::string replies = tavo::test::SettingsReplies(TestSettings(), Strings());
        for (const tavo::test::Book& b : *books_) {
            const std::string path = BookPath(b.name);
            b.write(path);
            if (!b.libreOffice) continue;
            MacroJob job{b.name, path};
            ExcelGeometry(path, job);
            job.calls = ExportCalls(replies);
            jobs.push_back(job);
        }
        for (const ExportScenario& scenario : ExportScenarios()) {
            TavoSettings s = TestSettings();
            s.ExportTarget = scenario.target;
            std::map<int, std::string> strings = Strings();
            strings[3] = scenario.fileName;
            MacroJob job{scenario.name, BookPath("lxw_form")};
            ExcelGeometry(job.book, job);
            job.calls = ExportCalls(tavo::test::SettingsReplies(s, strings) + scenario.replies);
            jobs.push_back(job);
        }
        jobs.push_back({"empty sheet", "", {}, {}, "", ExportCalls(replies)});
        for (const BuildFailure& f : BuildFailures()) {
            const std::string path = (dir_->path() / ("build " + f.name + ".xlsx")).string();
            WriteRows(path, f.rows);
            jobs.push_back({"build " + f.name, path, {}, {}, "", {{"StandInStart", {replies}}, {"TavoBuildJwc", {}}, {"StandInFinish", {}}}});
        }
        std::string rules;
        for (const auto& [input, answer] : RuleCases()) rules += input + "\n";
        jobs.push_back({"rules", "", {}, {}, "", {{"StandInStart", {replies}}, {"ProbeRules", {rules}}}});
        MacroJob shapes{"shapes", ""};
        shapes.calls.push_back({"StandInStart", {replies}});
        for (const std::string& fields : ShapeProbes(ShapeCases(BookPath("parts_shapes")), ShapesGrid(), TestSettings().DimScale))
            shapes.calls.push_back({"ProbeShape", {fields}});
        shapes.calls.push_back({"StandInFinish", {}});
        jobs.push_back(shapes);
        MacroJob compiled{"compiled", ""};
        compiled.calls = {{"StandInCompiled", {}}};
        compiled.realDeclarations = true;
        jobs.push_back(compiled);
        for (const DrawingFile& d : DrawingFiles()) jobs.push_back(DumpAndBuildJob(d));
        results_ = new std::map<std::string, MacroResult>(tavo::test::RunMacros(jobs, dir_->path()));
    }
    static void TearDownTestSuite() {
        // For a person to look at the runs: TAVO_KEEP_MACRO_RUN=DIR keeps the books, jobs and logs.
        if (const char* keep = std::getenv("TAVO_KEEP_MACRO_RUN"))
            fs::copy(dir_->path(), keep, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        delete results_;
        delete books_;
        delete dir_;
    }

    static std::string BookPath(const std::string& name) { return (dir_->path() / (name + ".xlsx")).string(); }

    static std::vector<DrawingFile> DrawingFiles() {
        const std::string entities = (dir_->path() / "entities.jwc").string();
        if (!fs::exists(entities))
            RunCommand(std::string(TAVO_CLI) + " build --mm --utf8 '" + TAVO_SOURCE_DIR + "/examples/entities.csv' -o '" + entities + "'");
        return {{"workbook_form", std::string(TAVO_SOURCE_DIR) + "/tests/data/workbook_form.jwc"}, {"entities", entities}};
    }

    // Dumps the file into a new sheet, then builds a drawing from that sheet.
    static MacroJob DumpAndBuildJob(const DrawingFile& d) {
        MacroJob job{"dump " + d.name, ""};
        std::map<int, std::string> strings = Strings();
        strings[3] = "built.jwc";
        job.calls = {{"StandInStart", {DumpReplies(d.path)}},
                     {"TavoDumpJwc", {}},
                     {"StandInFinish", {}},
                     {"StandInStart", {tavo::test::SettingsReplies(TestSettings(), strings)}},
                     {"TavoBuildJwc", {}},
                     {"StandInFinish", {}}};
        job.readSheet = true;
        return job;
    }

    // The workbook host's grid of the corpus's shapes book, which ShapeCases' shapes lie on.
    static const tavo::workbook::SheetGrid& ShapesGrid() {
        static const tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(BookPath("parts_shapes"), {});
        static const tavo::workbook::SheetGrid grid(model, *tavo::workbook::DrawnRange(model, std::nullopt),
                                                    TestSettings().DimScale, TestSettings().PlotOffset,
                                                    DrawWidth(TestSettings().PlotSize));
        return grid;
    }

    // The log a job's call `call` handed back, checked to be there.
    static std::vector<LoggedCall> Log(const std::string& job, std::size_t call = 2) {
        const MacroResult& r = results_->at(job);
        EXPECT_EQ(r.error, "") << job;
        if (r.results.size() <= call || !r.results[call]) {
            ADD_FAILURE() << job << ": the macro module did not compile or its Basic stopped (" << r.error << ")";
            return {};
        }
        return tavo::test::ParseLog(*r.results[call]);
    }

    static tavo::test::TempDir* dir_;
    static std::vector<tavo::test::Book>* books_;
    static std::map<std::string, MacroResult>* results_;
};

tavo::test::TempDir* ExcelMacros::dir_ = nullptr;
std::vector<tavo::test::Book>* ExcelMacros::books_ = nullptr;
std::map<std::string, MacroResult>* ExcelMacros::results_ = nullptr;

TEST_F(ExcelMacros, CorpusSheetsExportAsTheWorkbookHostExportsThem) {
    for (const tavo::test::Book& b : *books_) {
        if (!b.libreOffice) continue;
        const std::vector<LoggedCall> log = Log(b.name);
        ExpectSameAdds(HostCalls(BookPath(b.name), TestSettings()), log, b.name);
        EXPECT_EQ(Framing(log), kExportFraming) << b.name;
        for (const LoggedCall& c : log)
            if (c.name == "SetObjComment") EXPECT_EQ(c.args, (std::vector<std::string>{"c1", "コメント"})) << b.name;
    }
}

TEST_F(ExcelMacros, ExportEndsAsTheUserOrTheLibrarySays) {
    for (const ExportScenario& scenario : ExportScenarios()) {
        const std::vector<LoggedCall> log = Log(scenario.name);
        EXPECT_EQ(Framing(log), scenario.calls) << scenario.name;
        if (!scenario.message.empty() && !log.empty() && log.back().name == "MsgBox") {
            EXPECT_EQ(log.back().args.at(0), "Tavo エクスポート") << scenario.name;
            EXPECT_NE(log.back().args.at(1).find(scenario.message), std::string::npos) << scenario.name;
        }
    }
    const std::vector<LoggedCall> empty = Log("empty sheet");
    EXPECT_EQ(Framing(empty), (std::vector<std::string>{"ShowExportForm", "ReadInifile", "ProgressCreate", "ProgressDestroy", "MsgBox"}));
    if (!empty.empty()) EXPECT_EQ(empty.back().args.at(1), "シート \"Sheet1\" には描くものがありません。");
}

TEST_F(ExcelMacros, BuildStopsAtARowItCannotRead) {
    for (const BuildFailure& f : BuildFailures()) {
        const std::vector<LoggedCall> log = Log("build " + f.name);
        const std::vector<std::string> names = Framing(log);
        EXPECT_TRUE(std::find(names.begin(), names.end(), "JwcSaveTo") == names.end()) << f.name;
        ASSERT_FALSE(log.empty()) << f.name;
        EXPECT_EQ(log.back().name, "MsgBox") << f.name;
        const std::string row = "の " + std::to_string(f.rows.size()) + " 行目: ";
        EXPECT_NE(log.back().args.at(1).find("シート \"Sheet1\" " + row), std::string::npos) << log.back().args.at(1);
        EXPECT_NE(log.back().args.at(1).find(f.says), std::string::npos) << log.back().args.at(1);
    }
}

TEST_F(ExcelMacros, RulesGiveTheWorkbookHostsAnswers) {
    const MacroResult& r = results_->at("rules");
    ASSERT_TRUE(r.results.size() == 2 && r.results[1]) << r.error;
    const std::vector<std::string> answers = tavo::test::Split(*r.results[1], '\n');
    const auto cases = RuleCases();
    ASSERT_GE(answers.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const bool numeric = cases[i].first.compare(0, 6, "points") == 0;
        if (numeric)
            EXPECT_NEAR(std::stod(answers[i]), std::stod(cases[i].second), 1e-9) << cases[i].first;
        else
            EXPECT_EQ(answers[i], cases[i].second) << tavo::test::Unescaped(cases[i].first);
    }
}

TEST_F(ExcelMacros, ShapesDrawAsTheWorkbookHostDrawsThem) {
    tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(BookPath("parts_shapes"), {});
    model.shapes = ShapeCases(BookPath("parts_shapes"));
    tavo::workbook::RecordingExportCalls host(TestSettings());
    tavo::workbook::SheetTextConverter toCp932("shapes", "Sheet1", false);
    tavo::workbook::DrawShapes(model, ShapesGrid(), TestSettings(), host, toCp932);
    ExpectSameAdds(host.calls, Log("shapes", results_->at("shapes").results.size() - 1), "shapes");
}

TEST_F(ExcelMacros, ModulesCompileUnderLibreOfficesBasic) {
    const MacroResult& r = results_->at("compiled");
    EXPECT_EQ(r.results.size() == 1 && r.results[0] ? *r.results[0] : r.error, "compiled")
        << "Tavo.bas and the macro modules, joined, do not compile";
}

TEST_F(ExcelMacros, DumpGivesTheRowsOfTavoDumpAndBuildTheBytesOfTavoBuild) {
    for (const DrawingFile& d : DrawingFiles()) {
        const std::string job = "dump " + d.name;
        const MacroResult& r = results_->at(job);
        ASSERT_EQ(r.error, "") << job;
        // The rows of `tavo dump`, but its first line, which names the encoding.
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line : tavo::test::Split(RunCommand(std::string(TAVO_CLI) + " dump --utf8 '" + d.path + "'"), '\n'))
            if (!line.empty() && line.compare(0, 11, "# encoding:") != 0) rows.push_back(CsvFields(line));
        ASSERT_EQ(r.sheet.size(), rows.size()) << job;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::vector<std::string> cells = r.sheet[i];
            while (!cells.empty() && cells.back().empty()) cells.pop_back();
            while (!rows[i].empty() && rows[i].back().empty()) rows[i].pop_back();
            if (rows[i][0] == "Comment")
                for (std::size_t k = 1; k < rows[i].size(); ++k) rows[i][k] = CommentAsLibreOfficeReadsIt(rows[i][k]);
            ASSERT_EQ(cells.size(), rows[i].size()) << job << " row " << i + 1;
            for (std::size_t k = 0; k < cells.size(); ++k) {
                if (IsNumber(rows[i][k]) && IsNumber(cells[k]))
                    EXPECT_EQ(std::stof(cells[k]), std::stof(rows[i][k])) << job << " row " << i + 1 << " column " << k + 1;
                else
                    EXPECT_EQ(cells[k], rows[i][k]) << job << " row " << i + 1 << " column " << k + 1;
            }
        }
        const std::string csv = (dir_->path() / (d.name + ".csv")).string(), byCli = (dir_->path() / (d.name + ".cli.jwc")).string();
        RunCommand(std::string(TAVO_CLI) + " dump '" + d.path + "' -o '" + csv + "'");
        RunCommand(std::string(TAVO_CLI) + " build '" + csv + "' -o '" + byCli + "'");
        const std::string byMacro = (dir_->path() / (d.name + ".macro.jwc")).string();
        const std::vector<LoggedCall> build = Log(job, 5);
        Replay(build, byMacro);
        EXPECT_EQ(tavo::test::readFile(byMacro), tavo::test::readFile(byCli)) << job;
        EXPECT_EQ(Framing(build).front(), "ShowBuildForm");
    }
}

}  // namespace
