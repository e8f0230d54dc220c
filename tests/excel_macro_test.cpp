// The spreadsheet macros (host/excel) run headless in LibreOffice Calc with
// a stand-in for the library's declarations that logs every call
// (tests/excel/lo_basic.py): the export makes src/workbook's calls for every
// corpus sheet, the dump gives the rows of `tavo dump` and the build from
// them the bytes of `tavo build`, the rules answer as the workbook host's.
// Where LibreOffice 7.4 reads Excel's objects otherwise, the macros follow
// Excel and the test compares around it: columns and rows get Excel's sizes
// before a run, borders come from LibreOffice's own properties
// (tests/excel/StandInBorders.cls), comments are StrConv's Windows-1252
// bytes (Excel on Japanese Windows: Shift-JIS); see AsLibreOfficeShowsIt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <random>

#include "base/jw_text.h"
#include "cli/csv.h"
#include "excel_macro_support.h"
#include "platform/encoding.h"
#include "settings/sheet_palette.h"
#include "workbook/border_pens.h"
#include "workbook/cell_text.h"
#include "workbook/shape_drawing.h"
#include "workbook/sheet_drawing.h"
#include "workbook/workbook_reader.h"
#include "workbook/xlsx_drawing.h"
#include "workbook_corpus.h"

namespace {

namespace fs = std::filesystem;
namespace wb = tavo::workbook;
using tavo::platform::Cp932ToUtf8;
using tavo::platform::Utf8ToCp932;
using tavo::test::Escaped;
using tavo::test::MacroJob;
using Calls = std::vector<std::pair<std::string, std::vector<std::string>>>;
using Logged = std::vector<std::string>;  // a call of the stand-in's log: its name, then its arguments

bool IsAdd(const std::string& name) { return name.compare(0, 3, "Add") == 0; }

// The title and prompt of the last message box, "" for none.
Logged LastMessage(const std::vector<Logged>& log) {
    for (auto c = log.rbegin(); c != log.rend(); ++c)
        if ((*c)[0] == "MsgBox") return {(*c)[1], (*c)[2]};
    return {"", ""};
}

// The names of the calls, in order, but the adds and those the macros make
// around every step (TavoGetLastError, Progress, TavoLoad).
std::vector<std::string> Framing(const std::vector<Logged>& log) {
    std::vector<std::string> names;
    for (const Logged& c : log)
        if (!IsAdd(c[0]) && c[0] != "TavoGetLastError" && c[0] != "Progress" && c[0] != "TavoLoad") names.push_back(c[0]);
    return names;
}

// The factory settings with filled cells as solids, to a .jwc file, and a
// line type of its own for each border style (1 to 13, unchecked by the
// library), so that a call tells the style it was drawn for.
TavoSettings TestSettings() {
    TavoSettings s = tavo::test::FactoryHostSettings();
    s.ExchangeCaret = 0, s.ExchangeSolid = -1, s.ExportTarget = 2;
    for (uint8_t i = 0; i < 13; ++i) s.BTypeIndex[i] = static_cast<uint8_t>(i + 1);
    return s;
}

std::string Replies(uint8_t target = 2, const std::string& fileName = "out") {
    TavoSettings s = TestSettings();
    s.ExportTarget = target;
    return tavo::test::SettingsReplies(s, {{1, "c1"}, {2, "コメント"}, {3, fileName}});
}

Calls Task(const std::string& replies, const std::string& procedure) {
    return {{"StandInStart", {replies}}, {procedure, {}}, {"StandInFinish", {}}};
}

// A host add call as the macro logs it: the declared arguments in order.
Logged AsLogged(const wb::RecordedCall& c) {
    std::vector<double> n(c.xy.begin(), c.xy.end());
    if (c.name == "AddCircle") n.insert(n.end(), c.angles.begin(), c.angles.end());
    if (c.name == "AddText" || c.name == "AddTextV") n.insert(n.end(), {double(c.kind), double(c.lay)});
    else if (c.name == "AddSolid") n.insert(n.end(), {double(c.color), double(c.lay)});
    else n.insert(n.end(), {double(c.color), double(c.lay), double(c.kind)});
    Logged out{c.name};
    for (double v : n) out.push_back(std::to_string(v));
    if (c.name == "AddText" || c.name == "AddTextV") out.push_back(Cp932ToUtf8(c.text));
    return out;
}

// Rows alike, the first field equal and the others equal as texts or as
// numbers within `tolerance(field)`; at most 12 differences shown.
void ExpectSameRows(const std::vector<Logged>& want, const std::vector<Logged>& got, const std::string& what,
                    const std::function<double(std::size_t)>& tolerance) {
    const auto same = [&](const Logged& a, const Logged& b) {
        for (std::size_t i = 0; a.size() == b.size() && i < a.size(); ++i) {
            char *endA = nullptr, *endB = nullptr;
            const double x = std::strtod(a[i].c_str(), &endA), y = std::strtod(b[i].c_str(), &endB);
            const bool numbers = i > 0 && !a[i].empty() && !b[i].empty() && *endA == '\0' && *endB == '\0';
            if (numbers ? std::fabs(x - y) > tolerance(i) : a[i] != b[i]) return false;
        }
        return a.size() == b.size();
    };
    const auto shown = [](const std::vector<Logged>& rows, std::size_t i) {
        std::string out;
        for (const std::string& field : i < rows.size() ? rows[i] : Logged{"none"}) out += field + " ";
        return out;
    };
    for (std::size_t i = 0, reported = 0; i < std::max(want.size(), got.size()) && reported < 12; ++i)
        if (i >= want.size() || i >= got.size() || !same(want[i], got[i]))
            ADD_FAILURE() << what << ": row " << i + 1 << " (" << ++reported << " of at most 12 shown): expected " << shown(want, i)
                          << ", got " << shown(got, i);
    EXPECT_EQ(want.size(), got.size()) << what;
}

// The workbook host's add calls and the macro's agree call for call:
// coordinates within `mm` (on a sheet 0.1, as LibreOffice keeps sizes in
// hundredths of a mm), angles within 0.01.
void ExpectSameAdds(const std::vector<wb::RecordedCall>& host, const std::vector<Logged>& log, const std::string& what,
                    double mm = 0.1) {
    std::vector<Logged> want, got;
    for (const wb::RecordedCall& c : host)
        if (IsAdd(c.name)) want.push_back(AsLogged(c));
    std::copy_if(log.begin(), log.end(), std::back_inserter(got), [](const Logged& c) { return IsAdd(c[0]); });
    ExpectSameRows(want, got, what + " (the workbook host's adds, the macro's)", [mm](std::size_t i) { return i <= 4 ? mm : 0.01; });
}

// A job in a workbook whose columns and rows are as Excel lays them out
// (the workbook host's sizes), up to a little beyond the drawn range.
MacroJob InExcelSizes(MacroJob job) {
    const wb::SheetModel model = wb::ReadWorkbookSheet(job.book, {});
    if (const auto range = wb::DrawnRange(model, std::nullopt)) {
        for (int32_t c = 0; c <= range->lastCol + 2; ++c) job.columns.emplace_back(c, model.columns.visibleSize(c));
        for (int32_t r = 0; r <= range->lastRow + 2; ++r) job.rows.emplace_back(r, model.rows.visibleSize(r));
    }
    return job;
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
void AsLibreOfficeShowsIt(wb::SheetModel& m) {
    const std::vector<std::string> errors{"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A"};
    for (wb::Cell& c : m.cells) {
        if (c.kind == wb::CellKind::Boolean)
            c.text = m.addText({c.number != 0 ? "1" : "0", {}});
        else if (c.kind == wb::CellKind::Text && c.text < m.texts.size() &&
                 std::find(errors.begin(), errors.end(), m.texts[c.text].text) != errors.end())
            c.kind = wb::CellKind::Number;
    }
    for (wb::CellFormat& f : m.formats)
        if ((f.verticalText || f.rotation != 0) && f.hAlign == wb::HAlign::General) f.hAlign = wb::HAlign::Right;
    m.shapes.erase(std::remove_if(m.shapes.begin(), m.shapes.end(), [](const auto& s) { return s.kind != wb::ShapeKind::Line; }),
                   m.shapes.end());
    for (wb::SheetShape& shape : m.shapes) shape.tailArrow = false;
}

// The workbook host's calls for a sheet as LibreOffice shows it.
std::vector<wb::RecordedCall> HostCalls(const std::string& book) {
    wb::RecordingExportCalls calls(TestSettings());
    const TavoSettings s = calls.ReadInifile();
    wb::ReadOptions read;
    read.collect.keepFills = s.ExchangeSolid != 0;
    wb::SheetModel model = wb::ReadWorkbookSheet(book, read);
    AsLibreOfficeShowsIt(model);
    if (const auto range = wb::DrawnRange(model, std::nullopt)) {
        calls.ObjCreateByInifile();
        calls.SetObjComment(calls.ReadIniString(1), calls.ReadIniString(2));
        wb::SheetTextConverter toCp932(book, model.name, false);
        wb::DrawSheet(model, *range, s, calls, toCp932);
    }
    return calls.calls;
}

// Cells beyond the corpus: every border style, colours, diagonals, fills that join,
// a filled merged area, stacked, turned, run-on and cut texts, fonts, alignments,
// a hidden row and a hidden column.
void WriteWalkBook(const std::string& path) {
    tavo::test::WriteXlsx(path, [](lxw_workbook* book, lxw_worksheet* ws) {
        const auto format = [book](const std::function<void(lxw_format*)>& set) {
            lxw_format* f = workbook_add_format(book);
            return set(f), f;
        };
        const uint8_t styles[] = {LXW_BORDER_HAIR, LXW_BORDER_DOTTED, LXW_BORDER_DASH_DOT_DOT, LXW_BORDER_DASH_DOT,
                                  LXW_BORDER_DASHED, LXW_BORDER_THIN, LXW_BORDER_MEDIUM_DASH_DOT_DOT,
                                  LXW_BORDER_SLANT_DASH_DOT, LXW_BORDER_MEDIUM_DASH_DOT, LXW_BORDER_MEDIUM_DASHED,
                                  LXW_BORDER_MEDIUM, LXW_BORDER_THICK, LXW_BORDER_DOUBLE};
        const lxw_color_t colors[] = {0xFF0000, 0x0000FF, 0x33CCCC, 0x008000, 0x993366, 0x808080, 0xFFCC99};
        worksheet_merge_range(ws, 0, 0, 0, 3, "罫線の見本", format([](lxw_format* f) {
            format_set_align(f, LXW_ALIGN_CENTER), format_set_font_size(f, 16), format_set_bottom(f, LXW_BORDER_THICK);
        }));
        for (int i = 0; i < 13; ++i)
            worksheet_write_number(ws, static_cast<lxw_row_t>(i + 1), 1, i + 1, format([&](lxw_format* f) {
                format_set_bottom(f, styles[i]), format_set_right(f, LXW_BORDER_THIN);
                if (i % 2 == 0) format_set_bottom_color(f, colors[i % 7]);
            }));
        worksheet_write_blank(ws, 2, 3, format([](lxw_format* f) {
            format_set_diag_type(f, LXW_DIAGONAL_BORDER_UP_DOWN), format_set_diag_border(f, LXW_BORDER_THIN);
        }));
        const auto fill = [&](lxw_color_t color) {
            return format([color](lxw_format* f) { format_set_pattern(f, LXW_PATTERN_SOLID), format_set_bg_color(f, color); });
        };
        lxw_format* yellow = fill(0xFFFF00);
        for (lxw_row_t r = 4; r <= 6; ++r) worksheet_write_blank(ws, r, 2, yellow), worksheet_write_blank(ws, r, 3, yellow);
        worksheet_merge_range(ws, 8, 2, 9, 3, "", fill(0x99CCFF));
        const auto align = [&](uint8_t a, uint8_t b) { return format([=](lxw_format* f) { format_set_align(f, a), format_set_align(f, b); }); };
        const auto turned = [&](int16_t angle) { return format([=](lxw_format* f) { format_set_rotation(f, angle); }); };
        const auto text = [ws](lxw_row_t r, lxw_col_t c, const char* t, lxw_format* f) { worksheet_write_string(ws, r, c, t, f); };
        text(3, 4, "縦書き", turned(270)), text(6, 4, "上向き", turned(90));
        text(11, 6, "a text that runs on to the left", align(LXW_ALIGN_RIGHT, LXW_ALIGN_RIGHT));
        text(12, 4, "a text the next cell cuts short", nullptr), worksheet_write_number(ws, 12, 5, 42, nullptr);
        text(13, 4, "中央に置いて両側へはみ出す文", align(LXW_ALIGN_CENTER, LXW_ALIGN_VERTICAL_TOP));
        text(1, 6, "大", format([](lxw_format* f) { format_set_font_size(f, 20), format_set_align(f, LXW_ALIGN_VERTICAL_CENTER); }));
        text(2, 6, "two\nlines", nullptr), worksheet_write_number(ws, 3, 6, 1234.5, nullptr);
        for (lxw_col_t c = 0; c <= 7; ++c) worksheet_set_column(ws, c, c, c == 4 ? 6 : 10, nullptr);
        lxw_row_col_options hidden{};
        hidden.hidden = 1;
        worksheet_set_column_opt(ws, 7, 7, 10, nullptr, &hidden), text(5, 7, "hidden column", nullptr);
        worksheet_set_row_opt(ws, 10, LXW_DEF_ROW_HEIGHT, nullptr, &hidden), text(10, 0, "hidden row", nullptr);
        worksheet_set_row(ws, 1, 30, nullptr);
    });
}

// Ways an export ends: the replies that lead there (besides the settings),
// the calls but the adds, and what the last message box says, if anything.
struct ExportScenario {
    std::string replies;
    std::vector<std::string> calls;
    std::string message = {};
    uint8_t target = 2;
    std::string fileName = "out";
};

std::vector<ExportScenario> ExportScenarios() {
    const auto then = [](std::vector<std::string> tail) {
        tail.insert(tail.begin(), {"ShowExportForm", "ReadInifile", "ProgressCreate", "DrawWidth", "ObjCreateByInifile",
                                   "ProgressDestroy", "ReadIniString", "ReadIniString", "SetObjComment", "ReadIniString"});
        return tail;
    };
    return {
        {"", then({"ObjSaveToJwcFile", "MsgBox", "ObjDestroy"}), "out"},
        {"ShowExportForm\t2\n", {"ShowExportForm"}},
        {"ShowExportForm\t2\nTavoGetLastError@ShowExportForm\tno display\n", {"ShowExportForm", "MsgBox"}, "no display"},
        {"Progress\t-1\nProgress\t0\n", {"ShowExportForm", "ReadInifile", "ProgressCreate", "ProgressDestroy"}},
        {"Progress\t-1\nProgress\t-1\nProgress\t-1\nProgress\t-1\nProgress\t0\n",
         {"ShowExportForm", "ReadInifile", "ProgressCreate", "DrawWidth", "ObjCreateByInifile", "ProgressDestroy", "ObjDestroy"}},
        {"TavoGetLastError@ObjSaveToJwcFile\tcannot create out.jwc\n", then({"ObjSaveToJwcFile", "ObjDestroy", "MsgBox"}),
         "cannot create out.jwc"},
        {"", then({"ShowJwBrws", "ObjDestroy"}), "", 0},
        {"", then({"ObjCopyToAsJwt", "MsgBox", "ObjDestroy"}), "", 1},
        {"", then({"ObjSaveToTxtFile", "MsgBox", "ObjDestroy"}), "", 3},
        {"", then({"GetSaveAsFilename", "ObjDestroy"}), "", 2, ""},
        {"GetSaveAsFilename\tchosen.jwc\n", then({"GetSaveAsFilename", "ObjSaveToJwcFile", "MsgBox", "ObjDestroy"}), "chosen.jwc", 2, ""},
    };
}

// Sheets a build cannot make a drawing of: the rows, and what the message
// box says besides the sheet and the row.
using BuildFailure = std::pair<std::vector<std::vector<std::string>>, std::string>;
const std::vector<BuildFailure>& BuildFailures() {
    static const std::vector<std::string> drawing{"Drawing", "3", "100"};
    static const std::vector<BuildFailure> failures = {
        {{drawing, {"Sen", "1", "2", "3", "4", "1", "1", "0", "0", "0"}, {"Circle", "1"}}, "\"Circle\""},
        {{drawing, {"Sen", "1", "two", "3", "4", "1", "1", "0", "0", "0"}}, "3 列目 \"two\""},
        {{drawing, {"Ten", "1", "2", "256", "1", "0"}}, "4 列目 \"256\" は 0 から 255"},
        {{drawing, {"Comment", "この注記は三十二バイトを超えています", "x"}}, "32 バイト"},
        {{{"Drawing", "7", "100"}}, "2 列目 \"7\" は 0 から 4"},
    };
    return failures;
}

// One workbook, a sheet "fI" for failure I.
void WriteBuildFailures(const std::string& path) {
    lxw_workbook* book = workbook_new(path.c_str());
    for (std::size_t i = 0; i < BuildFailures().size(); ++i) {
        lxw_worksheet* ws = workbook_add_worksheet(book, ("f" + std::to_string(i)).c_str());
        const auto& rows = BuildFailures()[i].first;
        for (lxw_row_t r = 0; r < rows.size(); ++r)
            for (lxw_col_t c = 0; c < rows[r].size(); ++c) {
                char* end = nullptr;
                const double v = std::strtod(rows[r][c].c_str(), &end);
                *end ? worksheet_write_string(ws, r, c, rows[r][c].c_str(), nullptr) : worksheet_write_number(ws, r, c, v, nullptr);
            }
    }
    workbook_close(book);
}

// Rules of the macros and the workbook host's answers: the input lines of
// RuleProbe.bas's ProbeRules and what the workbook host gives for each.
std::vector<std::pair<std::string, std::string>> RuleCases() {
    std::vector<std::pair<std::string, std::string>> cases;
    std::mt19937 random(27);
    std::vector<uint32_t> colors(tavo::kSheetPalette.begin(), tavo::kSheetPalette.end());
    for (int i = 0; i < 40; ++i) colors.push_back(random() & 0xFFFFFF);
    for (uint32_t rgb : colors) cases.emplace_back("palette\t" + std::to_string(rgb), std::to_string(wb::NearestPaletteIndex(rgb)));
    // Excel's DashStyle (MsoLineDashStyle 1 to 12) and the DrawingML dash it is written as.
    const char* dashes[] = {"solid", "sysDash", "sysDot", "dash", "dashDot", "sysDashDotDot", "lgDash", "lgDashDot",
                            "lgDashDotDot", "sysDash", "sysDot", "sysDashDot"};
    for (int dash = 1; dash <= 12; ++dash)
        for (double weight : {0.25, 0.75, 1.1, 1.5, 2.25, 3.0})
            for (int compound : {0, 1})
                cases.emplace_back("shapeline\t" + std::to_string(dash) + "\t" + std::to_string(weight) + "\t" + std::to_string(compound),
                                   std::to_string(static_cast<int>(wb::LineStyleOf(dashes[dash - 1], weight, compound != 0))));
    for (double font : {6.0, 8.0, 9.0, 10.5, 11.0, 14.0, 20.0, 36.0, 72.0})
        for (double mm : {0.1, 0.35, 1.0})
            cases.emplace_back("textsize\t" + std::to_string(font) + "\t" + std::to_string(mm),
                               std::to_string(wb::TextSizeFor(font, mm, TestSettings())));
    for (const std::string t : {"Aa1.,:;'il jI!|-()/tfr", "見積書 No.12", "ｱｲｳ カナ", "m^u2^d3", "^u", "x^", "^o^b^B^c", "罫線^uの見本"}) {
        const std::string cp = Utf8ToCp932(t);
        char points[40];
        std::snprintf(points, sizeof points, "%.9f", wb::SheetTextPoints(cp, 11.0));
        cases.emplace_back("points\t" + Escaped(t) + "\t11", points);
        cases.emplace_back("cells\t" + Escaped(t), std::to_string(tavo::TextCells(cp)));
        for (double width : {0.0, 8.0, 20.0, 45.0})
            for (wb::HAlign align : {wb::HAlign::Left, wb::HAlign::Center, wb::HAlign::Right})
                cases.emplace_back("cut\t" + Escaped(t) + "\t11\t" + std::to_string(width) + "\t" + std::to_string(static_cast<int>(align)),
                                   Escaped(Cp932ToUtf8(wb::CutToSheetWidth(cp, 11.0, width, align))));
    }
    return cases;
}

// Drawn shapes as the workbook host reads them from the corpus's shapes
// book, and more of every kind: turned, flipped, with arrows, rounded,
// bent, text boxes of every alignment.
std::vector<wb::SheetShape> ShapeCases(const wb::SheetModel& shapesBook) {
    using K = wb::ShapeKind;
    std::vector<wb::SheetShape> shapes = shapesBook.shapes;
    wb::SheetShape s;
    s.box.from = {2, 1, 0, 0}, s.box.to = wb::SheetPoint{6, 4, 3, 10};
    s.outline = {wb::BorderStyle::Medium, wb::SheetColor::Rgb(0x3366FF)};
    for (K kind : {K::Line, K::Elbow, K::Rect, K::RoundRect, K::Ellipse})
        for (double rotation : {0.0, 30.0, 250.0}) {
            s.kind = kind, s.rotation = rotation, s.flipH = rotation > 100, s.flipV = rotation == 30.0;
            s.headArrow = s.tailArrow = kind == K::Line || kind == K::Elbow;
            s.adjust = kind == K::RoundRect ? 0.3 : 0.35;
            shapes.push_back(s);
        }
    s.kind = K::Ellipse, s.box.to = wb::SheetPoint{12, 2, 0, 0}, shapes.push_back(s);
    s.kind = K::Polygon, s.points = {{0.5, 0}, {1, 0.7}, {0.2, 1}, {0, 0.4}}, s.closed = false, shapes.push_back(s);
    s.closed = true, s.outline.color = wb::SheetColor{}, shapes.push_back(s);
    s.kind = K::Rect, s.outline.style = wb::BorderStyle::None, s.text = "一行目\n2nd line\n", s.fontPoints = 14;
    for (wb::HAlign h : {wb::HAlign::Left, wb::HAlign::Center, wb::HAlign::Right})
        for (wb::VAlign v : {wb::VAlign::Top, wb::VAlign::Center, wb::VAlign::Bottom}) s.textAlign = h, s.textAnchor = v, shapes.push_back(s);
    return shapes;
}

// The fields ProbeShape takes for a shape, placed as the workbook host places it.
std::string ShapeProbe(const wb::SheetShape& s, const wb::SheetGrid& grid, double mm) {
    const auto& b = s.box;
    const double x0 = grid.paperX(b.from), y0 = grid.paperY(b.from);
    const double x1 = b.to ? grid.paperX(*b.to) : x0 + b.width * mm, y1 = b.to ? grid.paperY(*b.to) : y0 - b.height * mm;
    std::ostringstream f;
    f << std::setprecision(17) << static_cast<int>(s.kind) << '\t' << x0 + b.inner[0] * (x1 - x0) << '\t'
      << x0 + b.inner[2] * (x1 - x0) << '\t' << y0 + b.inner[3] * (y1 - y0) << '\t' << y0 + b.inner[1] * (y1 - y0) << '\t'
      << s.rotation << '\t' << s.flipH << '\t' << s.flipV << '\t' << static_cast<int>(s.outline.style) << '\t'
      << (s.outline.color.automatic ? -1 : static_cast<int64_t>(s.outline.color.rgb)) << '\t' << s.headArrow << '\t'
      << s.tailArrow << '\t' << s.arrowPoints << '\t' << s.adjust << '\t' << s.closed << '\t' << s.fontPoints << '\t'
      << static_cast<int>(s.textAlign) << '\t' << (s.textAnchor == wb::VAlign::Top ? 2 : s.textAnchor == wb::VAlign::Center ? 1 : 0)
      << '\t' << Escaped(s.text);
    for (const auto& [u, v] : s.points) f << '\t' << u << '\t' << v;
    return f.str();
}

// Runs the command with `arguments`.
void Tavo(const std::string& arguments) {
    const std::string command = std::string(TAVO_CLI) + " " + arguments;
    if (std::system(command.c_str()) != 0) throw std::runtime_error(command + " failed");
}

// The library's answers to the dump macro from the rows of `tavo dump`: each
// record's fields (in the rows' order), the text apart, the counts.
std::string DumpReplies(const std::vector<tavo::cli::CsvRow>& rows, const std::string& path) {
    std::ostringstream r;
    r << "ReadIniDump\t-1\t-1\t-1\t-1\nReadIniString:5\t" << Escaped(path) << '\n';
    std::map<std::string, int> counts;
    for (const tavo::cli::CsvRow& row : rows) {
        const std::string& kind = row.fields[0];
        std::vector<std::string> fields(row.fields.begin() + (kind == "Table" ? 2 : 1), row.fields.end());
        if (kind == "Drawing" || kind == "Comment" || kind[0] == '#') continue;
        if (kind == "Enko") fields.insert(fields.begin() + 4, {"0", "0"});
        if (kind == "Moji") r << "GetMojiString\t" << Escaped(fields.back()) << '\n', fields.pop_back();
        r << "Get" << kind, ++counts[kind];
        for (const std::string& f : fields) r << '\t' << f;
        r << '\n';
    }
    for (const char* kind : {"Sen", "Enko", "Moji", "Ten"}) r << "Get" << kind << "Count\t" << counts[kind] << '\n';
    return r.str();
}

// The calls a build logged, made through the library, saving to `path`;
// comments in the bytes LibreOffice's StrConv gave them, texts in Shift-JIS.
void Replay(const std::vector<Logged>& log, const std::string& path) {
    for (const Logged& c : log) {
        const auto f = [&c](std::size_t i) { return std::stof(c.at(i + 1)); };
        const auto n = [&c](std::size_t i) { return static_cast<int32_t>(std::stod(c.at(i + 1))); };
        const auto b = [&n](std::size_t i) { return static_cast<uint8_t>(n(i)); };
        const auto w = [&n](std::size_t i) { return static_cast<uint16_t>(n(i)); };
        const std::string t0 = c.size() > 1 ? tavo::test::Converted(c[1], "UTF-8", "CP1252") : "",
                          t1 = c.size() > 2 ? tavo::test::Converted(c[2], "UTF-8", "CP1252") : "",
                          moji = c.size() > 8 ? Utf8ToCp932(c[8]) : "";
        const char *p0 = t0.c_str(), *p1 = t1.c_str(), *pm = moji.c_str(), *out = path.c_str();
        if (c[0] == "JwcCreate") JwcCreate(static_cast<int16_t>(n(0)), static_cast<int16_t>(n(1)));
        if (c[0] == "SetMojiTable") SetMojiTable(static_cast<int16_t>(n(0)), w(1), w(2), w(3), w(4));
        if (c[0] == "AddSen") AddSen(f(0), f(1), f(2), f(3), b(4), b(5), b(6), b(7), w(8));
        if (c[0] == "AddEnko") AddEnko(f(0), f(1), f(2), w(3), n(4), n(5), n(6), b(7), b(8), b(9), b(10), w(11));
        if (c[0] == "AddTen") AddTen(f(0), f(1), b(2), b(3), w(4));
        if (c[0] == "AddMoji") AddMoji(f(0), f(1), f(2), f(3), b(4), b(5), w(6), &pm);
        if (c[0] == "SetComment") SetComment(&p0, &p1);
        if (c[0] == "JwcSaveTo") JwcSaveTo(&out);
        if (c[0] == "JwcDestroy") JwcDestroy();
    }
}

const fs::path& Dir() {
    static const tavo::test::TempDir dir;
    return dir.path();
}

std::string BookPath(const std::string& name) { return (Dir() / (name + ".xlsx")).string(); }

const std::vector<tavo::test::Book>& Books() {
    static const std::vector<tavo::test::Book> books = [] {
        std::vector<tavo::test::Book> all = tavo::test::Corpus();
        all.push_back({"walk", WriteWalkBook, {}});
        // Left out as from the corpus's LibreOffice copies: no styles part,
        // so LibreOffice sets texts in its 10 points (Excel's is 11).
        all.erase(std::remove_if(all.begin(), all.end(), [](const tavo::test::Book& b) { return !b.libreOffice; }), all.end());
        for (const tavo::test::Book& b : all) b.write(BookPath(b.name));
        return all;
    }();
    return books;
}

// Every entity kind: examples/entities.csv built with `tavo build --mm`.
std::string Entities() {
    const std::string path = (Dir() / "entities.jwc").string();
    if (!fs::exists(path))
        Tavo("build --mm --utf8 '" + std::string(TAVO_SOURCE_DIR) + "/examples/entities.csv' -o '" + path + "'");
    return path;
}

// The rows of `tavo dump` but the encoding's; header lines quoted, which ParseCsv skips.
const std::vector<tavo::cli::CsvRow>& DumpedRows() {
    static const std::vector<tavo::cli::CsvRow> rows = [] {
        std::string csv, utf8 = (Dir() / "entities.utf8.csv").string();
        Tavo("dump --utf8 '" + Entities() + "' -o '" + utf8 + "'");
        for (const std::string& line : tavo::test::Split(tavo::test::readFile(utf8), '\n'))
            if (line.compare(0, 11, "# encoding:") != 0)
                csv += (line[0] == '#' ? '"' + line.substr(0, line.find(',')) + '"' + line.substr(line.find(',')) : line) + '\n';
        return tavo::cli::ParseCsv(csv);
    }();
    return rows;
}

const wb::SheetModel& ShapesBook() {
    static const wb::SheetModel model = (Books(), wb::ReadWorkbookSheet(BookPath("parts_shapes"), {}));
    return model;
}

// The workbook host's grid of the corpus's shapes book, which ShapeCases' shapes lie on.
const wb::SheetGrid& ShapesGrid() {
    const TavoSettings s = TestSettings();
    static const wb::SheetGrid grid(ShapesBook(), *wb::DrawnRange(ShapesBook(), std::nullopt), s.DimScale, s.PlotOffset,
                                    DrawWidth(s.PlotSize));
    return grid;
}

// Every job in one LibreOffice, once.
const std::map<std::string, tavo::test::MacroResult>& Results() {
    static const std::map<std::string, tavo::test::MacroResult> results = [] {
        std::vector<MacroJob> jobs;
        const auto add = [&jobs](const Calls& calls) { jobs.back().calls.insert(jobs.back().calls.end(), calls.begin(), calls.end()); };
        for (const tavo::test::Book& b : Books())
            jobs.push_back(InExcelSizes({b.name, BookPath(b.name), {}, {}, Task(Replies(), "TavoExportSheet")}));
        // The ways an export ends, one after the other in one workbook.
        jobs.push_back(InExcelSizes({"scenarios", BookPath("lxw_form")}));
        for (const ExportScenario& s : ExportScenarios()) add(Task(Replies(s.target, s.fileName) + s.replies, "TavoExportSheet"));
        // A new workbook: the export of its empty sheet, the rules, the shapes.
        std::string rules;
        for (const auto& [input, answer] : RuleCases()) rules += input + "\n";
        jobs.push_back({"new", "", {}, {}, Task(Replies(), "TavoExportSheet")});
        add({{"StandInStart", {Replies()}}, {"ProbeRules", {rules}}});
        for (const wb::SheetShape& shape : ShapeCases(ShapesBook()))
            add({{"ProbeShape", {ShapeProbe(shape, ShapesGrid(), TestSettings().DimScale)}}});
        add({{"StandInFinish", {}}});
        jobs.push_back({"builds", BookPath("build failures")});
        WriteBuildFailures(jobs.back().book);
        for (std::size_t i = 0; i < BuildFailures().size(); ++i)
            add({{"ProbeSheet", {"f" + std::to_string(i)}}}), add(Task(Replies(), "TavoBuildJwc"));
        jobs.push_back({"compiled", "", {}, {}, {{"StandInCompiled", {}}}, false, true});
        // Dumps the file into a new sheet, then builds a drawing from that sheet.
        jobs.push_back({"dump", "", {}, {}, Task(DumpReplies(DumpedRows(), Entities()), "TavoDumpJwc"), true});
        add(Task(Replies(2, "built.jwc"), "TavoBuildJwc"));
        auto out = tavo::test::RunMacros(jobs, Dir());
        // For a person to look at the runs: TAVO_KEEP_MACRO_RUN=DIR keeps the books, jobs and logs.
        if (const char* keep = std::getenv("TAVO_KEEP_MACRO_RUN"))
            fs::copy(Dir(), keep, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        return out;
    }();
    return results;
}

const tavo::test::MacroResult& Result(const std::string& job) {
    EXPECT_EQ(Results().at(job).error, "") << job;
    return Results().at(job);
}

// The log a job's call `call` handed back, checked to be there.
std::vector<Logged> Log(const std::string& job, std::size_t call = 2) {
    const tavo::test::MacroResult& r = Result(job);
    if (r.results.size() <= call || !r.results[call])
        ADD_FAILURE() << job << ": the macro module did not compile or its Basic stopped (" << r.error << ")";
    return tavo::test::Table(r.results.size() > call ? r.results[call].value_or("") : "");
}

TEST(ExcelMacros, CorpusSheetsExportAsTheWorkbookHostExportsThem) {
    for (const tavo::test::Book& b : Books()) {
        const std::vector<Logged> log = Log(b.name);
        ExpectSameAdds(HostCalls(BookPath(b.name)), log, b.name);
        EXPECT_EQ(Framing(log), ExportScenarios()[0].calls) << b.name;
        EXPECT_EQ(std::count(log.begin(), log.end(), Logged{"SetObjComment", "c1", "コメント"}), 1) << b.name;
    }
}

TEST(ExcelMacros, ExportEndsAsTheUserOrTheLibrarySays) {
    const std::vector<ExportScenario> scenarios = ExportScenarios();
    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        const std::vector<Logged> log = Log("scenarios", 3 * i + 2);
        EXPECT_EQ(Framing(log), scenarios[i].calls) << "scenario " << i;
        if (!scenarios[i].message.empty()) {
            EXPECT_EQ(LastMessage(log)[0], "Tavo エクスポート") << "scenario " << i;
            EXPECT_NE(LastMessage(log)[1].find(scenarios[i].message), std::string::npos) << LastMessage(log)[1];
        }
    }
    const std::vector<Logged> empty = Log("new");
    EXPECT_EQ(Framing(empty), (std::vector<std::string>{"ShowExportForm", "ReadInifile", "ProgressCreate", "ProgressDestroy", "MsgBox"}));
    EXPECT_EQ(LastMessage(empty)[1], "シート \"Sheet1\" には描くものがありません。");
}

TEST(ExcelMacros, BuildStopsAtARowItCannotRead) {
    for (std::size_t i = 0; i < BuildFailures().size(); ++i) {
        const auto& [rows, says] = BuildFailures()[i];
        const std::vector<Logged> log = Log("builds", 4 * i + 3);
        const std::vector<std::string> names = Framing(log);
        EXPECT_TRUE(std::find(names.begin(), names.end(), "JwcSaveTo") == names.end()) << says;
        const std::string at = "シート \"f" + std::to_string(i) + "\" の " + std::to_string(rows.size()) + " 行目: ";
        const std::string said = LastMessage(log)[1];
        EXPECT_TRUE(said.find(at) != std::string::npos && said.find(says) != std::string::npos) << said;
    }
}

TEST(ExcelMacros, RulesGiveTheWorkbookHostsAnswers) {
    const tavo::test::MacroResult& r = Result("new");
    ASSERT_TRUE(r.results.size() > 4 && r.results[4]) << r.error;
    std::vector<Logged> want, got;
    const std::vector<std::string> answers = tavo::test::Split(*r.results[4], '\n');
    for (const auto& [input, answer] : RuleCases()) {
        want.push_back({tavo::test::Unescaped(input), answer});
        got.push_back({want.back()[0], got.size() < answers.size() ? answers[got.size()] : "none"});
    }
    ExpectSameRows(want, got, "rules", [](std::size_t) { return 1e-9; });
}

TEST(ExcelMacros, ShapesDrawAsTheWorkbookHostDrawsThem) {
    wb::SheetModel model = ShapesBook();
    model.shapes = ShapeCases(ShapesBook());
    wb::RecordingExportCalls host(TestSettings());
    wb::SheetTextConverter toCp932("shapes", "Sheet1", false);
    wb::DrawShapes(model, ShapesGrid(), TestSettings(), host, toCp932);
    ExpectSameAdds(host.calls, Log("new", Results().at("new").results.size() - 1), "shapes", 1e-3);
}

TEST(ExcelMacros, ModulesCompileUnderLibreOfficesBasic) {
    const tavo::test::MacroResult& r = Results().at("compiled");
    EXPECT_EQ(r.results.size() == 1 && r.results[0] ? *r.results[0] : r.error, "compiled")
        << "Tavo.bas and the macro modules, joined, do not compile";
}

TEST(ExcelMacros, DumpGivesTheRowsOfTavoDumpAndBuildTheBytesOfTavoBuild) {
    const tavo::test::MacroResult& r = Result("dump");
    std::vector<Logged> want, got = r.sheet;
    for (const tavo::cli::CsvRow& row : DumpedRows()) want.push_back(row.fields);
    for (auto* rows : {&want, &got})
        for (Logged& cells : *rows)
            while (!cells.empty() && cells.back().empty()) cells.pop_back();
    // Comments as LibreOffice's StrConv reads their bytes.
    for (Logged& row : want)
        for (std::size_t k = 1; row[0] == "Comment" && k < row.size(); ++k)
            row[k] = tavo::test::Converted(Utf8ToCp932(row[k]), "CP1252", "UTF-8");
    // Numbers as the sheet holds them, in single precision.
    ExpectSameRows(want, got, "dump", [](std::size_t) { return 1e-4; });
    const std::string dumped = (Dir() / "entities.csv").string(), byCli = (Dir() / "entities.cli.jwc").string();
    Tavo("dump '" + Entities() + "' -o '" + dumped + "'"), Tavo("build '" + dumped + "' -o '" + byCli + "'");
    const std::string byMacro = (Dir() / "entities.macro.jwc").string();
    const std::vector<Logged> build = Log("dump", 5);
    Replay(build, byMacro);
    EXPECT_EQ(tavo::test::readFile(byMacro), tavo::test::readFile(byCli));
    ASSERT_FALSE(Framing(build).empty());
    EXPECT_EQ(Framing(build).front(), "ShowBuildForm");
}

}  // namespace
