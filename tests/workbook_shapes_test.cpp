// Drawn shapes and texts as the sheet shows them: shapes placed from their
// anchors, turned and flipped; texts running into empty neighbours or cut
// where the sheet cuts them; numbers too wide for their cell.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "platform/encoding.h"
#include "test_support.h"
#include "workbook_books.h"
#include "workbook_support.h"

namespace {

using tavo::test::AssembleBook;
using tavo::test::BookParts;
using tavo::test::PresetShape;
using tavo::test::SolidLine;
using tavo::test::StoredZip;
using tavo::test::TwoCellAnchor;
using tavo::workbook::RecordedCall;

// Half a millimetre per point, the figure's lower-left corner at the
// paper's, and every column 10 characters (75 px, 56.25 pt) wide: a cell
// is 28.125 mm by 7.5 mm.
TavoSettings Plain() {
    TavoSettings s = tavo::test::FactoryHostSettings();
    s.DimScale = 0.5f;
    s.PlotOffset = 2;
    s.SimbolLay = 0x22;
    s.SimbolColor = 5;
    return s;
}

constexpr double kCol = 28.125, kRow = 7.5;

std::vector<RecordedCall> ShapeCalls(const std::string& drawing, const TavoSettings& settings = Plain()) {
    tavo::test::TempDir dir;
    BookParts p;
    // A ruled cell at J12 fixes the drawn range at A1:J12 whatever the shapes.
    p.styles = R"(<borders count="2"><border/><border><left style="thin"/><right style="thin"/><top style="thin"/>)"
               R"(<bottom style="thin"/></border></borders><cellXfs count="2"><xf borderId="0"/><xf borderId="1"/></cellXfs>)";
    p.sheetXml = R"(<sheetFormatPr defaultRowHeight="15"/><cols><col min="1" max="10" width="10.7109375" customWidth="1"/></cols>)"
                 R"(<sheetData><row r="1"><c r="A1" s="1"/></row><row r="12"><c r="J12" s="1"/></row></sheetData>)";
    p.drawing = drawing;
    const std::string path = dir.file("shapes.xlsx");
    tavo::test::writeFile(path, StoredZip(AssembleBook(p)));
    std::vector<RecordedCall> out;
    for (const RecordedCall& c : tavo::test::RecordExport(path, settings).calls)
        if (c.lay == settings.SimbolLay || (c.name == "AddText" && c.lay == settings.MojiLay)) out.push_back(c);
    return out;
}

// Paper coordinates of a grid corner: column c's left edge, row r's top.
double X(double c) { return c * kCol; }
double Y(double r) { return (12 - r) * kRow; }

// Call `at` of a shape's calls: a line either way, or a circle's centre,
// radius and flatness.
struct Want {
    std::size_t at;
    const char* name;
    std::array<double, 4> xy;
};

TEST(WorkbookShapes, PlacedFromTheirAnchorsTurnedFlippedRoundedAndGrouped) {
    using tavo::test::Replaced;
    const std::string black = SolidLine(9525, "000000");
    const auto with = [](const std::string& shape, const std::string& xfrm) { return Replaced(shape, "<a:prstGeom", xfrm + "<a:prstGeom"); };
    const std::string member = "<xdr:sp macro=\"\"><xdr:nvSpPr><xdr:cNvPr id=\"%\" name=\"M\"/><xdr:cNvSpPr/></xdr:nvSpPr>"
                               "<xdr:spPr><a:xfrm><a:off x=\"@\" y=\"500\"/><a:ext cx=\"1000\" cy=\"500\"/></a:xfrm>"
                               "<a:prstGeom prst=\"line\"/>" + black + "</xdr:spPr></xdr:sp>";
    const auto m = [&](int id, int x) { return Replaced(Replaced(member, "%", std::to_string(id)), "@", std::to_string(x)); };
    const double r = 0.16667 * 4 * kRow;  // a rounded corner: a sixth of the shorter side
    struct Case {
        const char* what;
        std::string drawing;
        std::size_t count;
        std::vector<Want> want;
    };
    const Case cases[] = {
        {"a rectangle", TwoCellAnchor(1, 1, 3, 3, PresetShape(2, "rect", black)), 4,
         {{0, "AddLine", {X(1), Y(1), X(3), Y(1)}}, {2, "AddLine", {X(3), Y(3), X(1), Y(3)}}}},
        {"turned a quarter clockwise about its centre: the box on end, its first corner at the top right",
         TwoCellAnchor(1, 1, 3, 3, with(PresetShape(2, "rect", black), "<a:xfrm rot=\"5400000\"/>")), 4,
         {{0, "AddLine", {X(2) + kRow, Y(2) + kCol, X(2) + kRow, Y(2) - kCol}}}},
        {"a line flipped across, with an arrow head of two short lines at its end",
         TwoCellAnchor(1, 1, 3, 3, with(PresetShape(2, "line", SolidLine(12700, "FF0000", "<a:tailEnd type=\"arrow\"/>")),
                                        "<a:xfrm flipV=\"1\"/>")), 3,
         {{0, "AddLine", {X(1), Y(3), X(3), Y(1)}}}},
        {"an ellipse taller than wide: the longer axis is the radius; a hidden shape",
         TwoCellAnchor(1, 1, 2, 9, PresetShape(2, "ellipse", black)) +
             TwoCellAnchor(4, 4, 5, 5, Replaced(PresetShape(3, "rect", black), "name=\"S3\"", "name=\"S3\" hidden=\"1\"")),
         1, {{0, "AddCircle", {X(1.5), Y(5), 4 * kRow, kCol / (8 * kRow)}}}},
        {"rounded corners", TwoCellAnchor(1, 1, 3, 5, PresetShape(2, "roundRect", black)), 8,
         {{0, "AddLine", {X(1) + r, Y(1), X(3) - r, Y(1)}}}},
        {"a text box without an outline is its text",
         TwoCellAnchor(1, 1, 4, 3, PresetShape(2, "rect", "<a:ln><a:noFill/></a:ln>", "注記", true)), 1, {}},
        {"two members side by side in a group filling the anchor's box",
         TwoCellAnchor(2, 2, 6, 4, "<xdr:grpSp><xdr:nvGrpSpPr><xdr:cNvPr id=\"7\" name=\"G\"/><xdr:cNvGrpSpPr/></xdr:nvGrpSpPr>"
                                   "<xdr:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"1\" cy=\"1\"/><a:chOff x=\"0\" y=\"0\"/>"
                                   "<a:chExt cx=\"2000\" cy=\"1000\"/></a:xfrm></xdr:grpSpPr>" + m(8, 0) + m(9, 1000) + "</xdr:grpSp>"),
         2, {{0, "AddLine", {X(2), Y(3), X(4), Y(4)}}, {1, "AddLine", {X(4), Y(3), X(6), Y(4)}}}},
    };
    std::vector<std::vector<RecordedCall>> got;
    for (const Case& c : cases) {
        got.push_back(ShapeCalls(c.drawing));
        ASSERT_EQ(got.back().size(), c.count) << c.what;
        for (const Want& w : c.want) {
            const RecordedCall& call = got.back()[w.at];
            EXPECT_EQ(call.name, w.name) << c.what;
            const bool reversed = std::string(w.name) == "AddLine" &&
                                  !(std::fabs(call.xy[0] - w.xy[0]) < 1e-3 && std::fabs(call.xy[1] - w.xy[1]) < 1e-3);
            for (int k = 0; k < 4; ++k) EXPECT_NEAR(call.xy[k], w.xy[reversed ? (k + 2) % 4 : k], 1e-3) << c.what << ", " << k;
        }
    }
    for (const RecordedCall& c : got[0]) {
        EXPECT_EQ(c.lay, 0x22);
        EXPECT_EQ(c.color, Plain().BColorIndex[0]) << "black is palette colour 1";
    }
    EXPECT_EQ(got[2][0].color, Plain().BColorIndex[2]) << "red is palette colour 3";
    for (int k : {1, 2}) {
        EXPECT_NEAR(got[2][k].xy[0], X(3), 1e-3) << "an arrow line starts at the tip";
        EXPECT_NEAR(got[2][k].xy[1], Y(1), 1e-3);
        EXPECT_NEAR(std::hypot(got[2][k].xy[2] - X(3), got[2][k].xy[3] - Y(1)), 6 * 0.5, 1e-3) << "6 pt long";
    }
    EXPECT_NEAR(got[3][0].angles[2], 90, 1e-4) << "tilt: the long axis upright";
    for (int k = 4; k < 8; ++k) {
        EXPECT_EQ(got[4][k].name, "AddCircle");
        EXPECT_NEAR(got[4][k].xy[2], r, 1e-3);
        EXPECT_NEAR(got[4][k].angles[0], 90.0 * (k - 4), 1e-4) << "quarter arcs counter-clockwise from the top right";
        EXPECT_NEAR(got[4][k].angles[1], std::fmod(90.0 * (k - 3), 360.0), 1e-4);
    }
    EXPECT_EQ(tavo::platform::Cp932ToUtf8(got[5][0].text), "注記");
    EXPECT_EQ(got[5][0].lay, Plain().MojiLay);
    EXPECT_NEAR(got[5][0].xy[0], X(1) + 7.2 * 0.5, 1e-3) << "the box's inner margin";
}

TEST(WorkbookTexts, RunIntoEmptyNeighboursCutWhereTheSheetCutsNumbersShowHashes) {
    struct Case {
        const char* why;
        std::function<void(lxw_workbook*, lxw_worksheet*)> fill;
        std::vector<std::string> texts;  // as drawn, in the order of the cells
    };
    const char* longText = "長い見出しの文字列です";
    const Case cases[] = {
        {"runs on into empty neighbours, whole",
         [&](lxw_workbook*, lxw_worksheet* ws) { worksheet_write_string(ws, 0, 0, longText, nullptr); },
         {longText}},
        {"cut at a neighbour that holds something",
         [&](lxw_workbook*, lxw_worksheet* ws) {
             worksheet_write_string(ws, 0, 0, longText, nullptr);
             worksheet_write_string(ws, 0, 1, "x", nullptr);
         },
         {"長い見出", "x"}},
        {"right-aligned: runs to the left, cut keeping its end",
         [&](lxw_workbook* wb, lxw_worksheet* ws) {
             lxw_format* right = workbook_add_format(wb);
             format_set_align(right, LXW_ALIGN_RIGHT);
             worksheet_write_string(ws, 0, 0, "x", nullptr);
             worksheet_write_string(ws, 0, 1, longText, right);
         },
         {"x", "字列です"}},
        {"a merged area keeps its text inside",
         [&](lxw_workbook*, lxw_worksheet* ws) { worksheet_merge_range(ws, 0, 0, 0, 1, longText, nullptr); },
         {"長い見出しの文字"}},
        {"numbers never run on: too wide, #; the general format gives up digits first",
         [&](lxw_workbook* wb, lxw_worksheet* ws) {
             lxw_format* money = workbook_add_format(wb);
             format_set_num_format(money, "#,##0.00");
             worksheet_write_number(ws, 0, 0, 1234567.891, money);
             worksheet_write_number(ws, 1, 0, 3.14159265358979, nullptr);
             worksheet_write_number(ws, 2, 0, 123456789012.0, nullptr);
             worksheet_write_number(ws, 3, 0, 12.5, money);
         },
         {"########", "3.141593", "1.23E+11", "12.50"}},
    };
    for (const Case& c : cases) {
        tavo::test::TempDir dir;
        const std::string path = dir.file("texts.xlsx");
        tavo::test::WriteXlsx(path, c.fill);
        std::vector<std::string> got;
        for (const RecordedCall& t : tavo::test::RecordExport(path, Plain()).named("AddText"))
            got.push_back(tavo::platform::Cp932ToUtf8(t.text));
        EXPECT_EQ(got, c.texts) << c.why;
    }
}

}  // namespace
