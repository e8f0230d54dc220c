// Workbooks that must be refused, the limits that keep memory to the
// drawing, styles of other writers, a whole sheet to .jwc bytes, cell
// ranges, .ods borders and the number formats.
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/error.h"
#include "platform/encoding.h"
#include "test_support.h"
#include "workbook/cell_collector.h"
#include "workbook/cell_address.h"
#include "workbook/sheet_number_format.h"
#include "workbook/workbook_reader.h"
#include "workbook/ods_styles.h"
#include "workbook/xlsx_styles.h"
#include "workbook_books.h"
#include "workbook_support.h"

namespace {

using tavo::test::BoxFormat;
using tavo::test::FactoryHostSettings;
using tavo::test::readFile;
using tavo::test::RecordExport;
using tavo::test::Put;
using tavo::test::StoredZip;
using tavo::test::TempDir;
using tavo::test::writeFile;
using tavo::test::WriteXlsx;

const std::string kOdsMime = "application/vnd.oasis.opendocument.spreadsheet";

TEST(WorkbookInput, BadFilesAreRefusedNamingTheFileBeforeAnyDrawing) {
    TempDir dir;
    const auto file = [&](const std::string& name, const std::string& bytes) {
        writeFile(dir.file(name), bytes);
        return dir.file(name);
    };
    const std::string text = dir.file("text.xlsx"), tall = dir.file("tall.xlsx");
    WriteXlsx(text, [](lxw_workbook*, lxw_worksheet* ws) { worksheet_write_string(ws, 0, 0, "x", nullptr); });
    WriteXlsx(tall, [](lxw_workbook* wb, lxw_worksheet* ws) {
        lxw_format* box = BoxFormat(wb);
        for (int r = 0; r <= tavo::workbook::kMaxDrawnRows; ++r) worksheet_write_blank(ws, r, 0, box);
    });
    // A part that declares it unpacks to 300 MiB: the second directory entry's size.
    std::string bomb = StoredZip({{"mimetype", kOdsMime}, {"content.xml", "<a/>"}}), declared;
    Put(declared, 300u << 20, 4);
    bomb.replace(bomb.find("PK\x01\x02", bomb.find("PK\x01\x02") + 4) + 24, 4, declared);
    const std::string cfb("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    // Books that say they hold more than a workbook does.
    const auto repeat = [](const std::string& s, int n) {
        std::string out;
        while (n-- > 0) out += s;
        return out;
    };
    const auto xlsx = [&](const std::string& name, const std::string& merges, const std::string& strings, const std::string& styles = "") {
        tavo::test::BookParts p;
        p.sheetXml = "<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row></sheetData>" + merges;
        p.sharedStrings = strings;
        p.styles = styles;
        return file(name, StoredZip(tavo::test::AssembleBook(p)));
    };
    std::string merges = "<mergeCells>", large = "<mergeCells>";
    for (int r = 1; r <= 150001; ++r) merges += "<mergeCell ref=\"A" + std::to_string(r) + ":B" + std::to_string(r) + "\"/>";
    for (int c = 0; c < 2000; ++c) {
        const std::string col(1, static_cast<char>('A' + c % 26)), first = std::to_string(c / 26 * 10000 + 1);
        large += "<mergeCell ref=\"" + col + first + ":" + col + std::to_string(c / 26 * 10000 + 10000) + "\"/>";
    }
    const auto ods = [&](const std::string& name, const std::string& rows) {
        const std::string ns = "urn:oasis:names:tc:opendocument:xmlns:";
        return file(name, StoredZip({{"mimetype", kOdsMime},
                                     {"content.xml", "<office:document-content xmlns:office=\"" + ns + "office:1.0\" xmlns:table=\"" + ns +
                                                         "table:1.0\" xmlns:text=\"" + ns + "text:1.0\" xmlns:style=\"" + ns +
                                                         "style:1.0\" xmlns:fo=\"" + ns + "xsl-fo-compatible:1.0\"><office:automatic-styles>"
                                                         "<style:style style:name=\"b\" style:family=\"table-cell\"><style:table-cell-properties "
                                                         "fo:border=\"0.74pt solid #000000\"/></style:style></office:automatic-styles><office:body>"
                                                         "<office:spreadsheet><table:table table:name=\"S\">" + rows +
                                                         "</table:table></office:spreadsheet></office:body></office:document-content>"}}));
    };
    struct Case {
        std::string path;
        std::string expected;  // part of the message
        tavo::workbook::WorkbookExportOptions options;
    };
    tavo::workbook::WorkbookExportOptions nope, farAway;
    nope.sheet = "Nope";
    farAway.range = tavo::workbook::CellRange{99, 25, 199, 25};
    const Case cases[] = {
        {file("notes.xlsx", "hello"), "is not a workbook (.xlsx or .ods)", {}},
        {file("locked.xlsx", cfb + std::string(64, '\0') + std::string("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28)),
         "is encrypted", {}},
        {file("old.xls", cfb + std::string(512, '\0')), "is a binary .xls workbook", {}},
        {file("locked.ods", StoredZip({{"mimetype", kOdsMime}, {"META-INF/manifest.xml", "<manifest:encryption-data/>"}})),
         "is encrypted", {}},
        {file("bomb.ods", bomb), "part \"content.xml\" would unpack to 300 MiB", {}},
        {file("letter.odt", StoredZip({{"mimetype", "application/vnd.oasis.opendocument.text"}})), "not a spreadsheet", {}},
        {file("photos.zip", StoredZip({{"a.txt", "a"}})), "is a zip archive but not a workbook", {}},
        {file("broken.xlsx", StoredZip({{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.xml", "<workbook><sheets><sheet name=\"A\""}})),
         "xl/workbook.xml: damaged (cut short: it does not end in an end tag)", {}},
        {file("cut-sheet.xlsx", StoredZip(tavo::test::AssembleBook(
                                    {"<sheetData><row r=\"2\"><c r=\"B2\"><v>1</v></c><c r=\"C2\"><v>2</c></row>"}))),
         "xl/worksheets/sheet1.xml: after cell C2: damaged (not well-formed XML at byte", {}},
        {text, "has no sheet \"Nope\" (its sheets: \"Sheet1\")", nope},
        {text, "sheet \"Sheet1\" has nothing to draw in Z100:Z200", farAway},
        {tall, "more than 65536 rows", {}},
        {xlsx("strings.xlsx", "", repeat("<si/>", 1000001)), "more than 1,000,000 shared strings", {}},
        {xlsx("long-text.xlsx", "", "<si><t>" + std::string(2 << 20, 'x') + "</t></si>"), "more than 1,048,576 bytes in one text", {}},
        {xlsx("formats.xlsx", "", "<si/>", "<cellXfs>" + repeat("<xf/>", 70000) + "</cellXfs>"), "more than 65,536 cell formats", {}},
        {xlsx("merges.xlsx", merges + "</mergeCells>", "<si/>"), "more than 100,000 merged areas", {}},
        {xlsx("large-merges.xlsx", large + "</mergeCells>", "<si/>"), "merged areas of over 4,096 cells", {}},
        {ods("rows.ods", "<table:table-row table:number-rows-repeated=\"1048576\"><table:table-cell table:style-name=\"b\"/></table:table-row>"),
         "more than 65536 rows", {}},
        {ods("spans.ods", "<table:table-row table:number-rows-repeated=\"200000\"><table:table-cell table:number-rows-spanned=\"2\" "
                          "table:number-columns-spanned=\"2\"/></table:table-row>"),
         "more than 100,000 merged areas", {}},
        {ods("spanning.ods", "<table:table-row><table:table-cell table:number-rows-spanned=\"1048576\" table:number-columns-spanned=\"16384\">"
                             "<text:p>x</text:p></table:table-cell></table:table-row>"),
         "more than 65536 rows", {}},
    };
    for (const Case& c : cases) {
        tavo::workbook::RecordingExportCalls calls(FactoryHostSettings());
        try {
            tavo::workbook::ExportWorkbookSheet(c.path, c.options, calls);
            ADD_FAILURE() << c.path << " was read";
        } catch (const tavo::Error& e) {
            EXPECT_EQ(e.file(), c.path);
            EXPECT_NE(tavo::platform::Cp932ToUtf8(e.detail()).find(c.expected), std::string::npos)
                << c.path << ": " << tavo::platform::Cp932ToUtf8(e.detail());
        }
        EXPECT_TRUE(calls.named("ObjCreateByInifile").empty()) << c.path;
    }
}

// Rows that only carry a format or a height, up to the sheet's last: no
// cell and no span of heights each, and no part of the drawn range.
TEST(WorkbookInput, FormattedRowsToTheMillionthDrawNothingAndCostNothing) {
    TempDir dir;
    const std::string path = dir.file("formatted.xlsx");
    WriteXlsx(path, [](lxw_workbook* wb, lxw_worksheet* ws) {
        lxw_format* bold = workbook_add_format(wb);
        format_set_bold(bold);
        worksheet_write_number(ws, 0, 0, 7, BoxFormat(wb));
        for (lxw_row_t r : {1, 2, 3, 1000, LXW_ROW_MAX - 1}) {
            worksheet_set_row(ws, r, 20, bold);
            worksheet_write_blank(ws, r, 0, bold);
        }
        for (lxw_row_t r = 4; r < 1000; ++r) worksheet_set_row(ws, r, 20, bold);
    });
    const tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(path, {});
    EXPECT_EQ(model.cells.size(), 1u);
    EXPECT_EQ(model.rows.spanCount(), 2u);
    tavo::workbook::AxisSizes rows(15);
    rows.setSize(0, 1000, 20);
    rows.setHidden(500, 10, true);
    rows.setHidden(500, 10, false);
    EXPECT_EQ(rows.spanCount(), 1u) << "a span split and mended is one again";
    const auto calls = RecordExport(path, FactoryHostSettings());
    EXPECT_EQ(calls.named("AddLine").size(), 4u);
    EXPECT_EQ(calls.named("AddText").size(), 1u);
}

// Parts that libxlsxwriter does not write: indexed and theme colours with a
// tint, a diagonal border, a turned text and the sheet's default row height.
TEST(WorkbookInput, StylesOfOtherWriters) {
    tavo::test::BookParts p;
    p.theme = R"(<a:dk1><a:sysClr val="windowText" lastClr="000000"/></a:dk1><a:lt1><a:sysClr val="window" lastClr="FFFFFF"/></a:lt1>)"
              R"(<a:dk2><a:srgbClr val="1F497D"/></a:dk2><a:lt2><a:srgbClr val="EEECE1"/></a:lt2><a:accent1><a:srgbClr val="4F81BD"/></a:accent1>)";
    p.styles = R"(<fonts count="1"><font><sz val="11"/></font></fonts>)"
               R"(<fills count="4"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill>)"
               R"(<fill><patternFill patternType="solid"><fgColor indexed="13"/><bgColor indexed="64"/></patternFill></fill>)"
               R"(<fill><patternFill patternType="solid"><fgColor theme="4" tint="0.3999755851924192"/></patternFill></fill></fills>)"
               R"(<borders count="2"><border/><border diagonalDown="1"><left/><right/><top style="thin"><color theme="1"/></top>)"
               R"(<bottom style="thin"><color indexed="10"/></bottom><diagonal style="thin"/></border></borders>)"
               R"(<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/><xf numFmtId="0" fontId="0" fillId="2" borderId="1"/>)"
               R"(<xf numFmtId="0" fontId="0" fillId="3" borderId="0"><alignment textRotation="180"/></xf></cellXfs>)";
    p.sheetXml = R"(<sheetFormatPr defaultRowHeight="20"/><sheetData>)"
                 R"(<row r="1"><c r="A1" s="1"/><c r="B1" s="2"><v>5</v></c></row></sheetData>)";
    TempDir dir;
    writeFile(dir.file("other.xlsx"), StoredZip(tavo::test::AssembleBook(p)));
    TavoSettings settings = FactoryHostSettings();
    settings.DimScale = 0.5f;
    settings.PlotOffset = 2;
    settings.ExchangeSolid = -1;
    settings.SenColor = 7;
    for (int k = 0; k < 56; ++k) settings.BColorIndex[k] = static_cast<uint8_t>(1 + k % 9);
    const auto calls = RecordExport(dir.file("other.xlsx"), settings);

    // Columns of 24 mm, the default row 20 points high: 10 mm.
    const auto solids = calls.named("AddSolid");
    ASSERT_EQ(solids.size(), 2u);
    EXPECT_EQ(solids[0].color, 0x00FFFF) << "indexed 13 is yellow";
    EXPECT_EQ(solids[1].color, 0xD7B395) << "accent 1 (4F81BD) 40 % lighter is 95B3D7";
    EXPECT_FLOAT_EQ(solids[0].xy[1], 10);
    const auto lines = calls.named("AddLine");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].color, 1) << "theme colour 1 is dark 1, black: index 1";
    EXPECT_EQ(lines[1].color, 3) << "indexed 10 is red: index 3";
    EXPECT_EQ(lines[2].color, 7) << "the diagonal's automatic colour: SenColor";
    EXPECT_EQ(lines[2].xy, (std::array<float, 4>{0, 10, 24, 0}));
    const auto texts = calls.named("AddText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_FLOAT_EQ(texts[0].xy[0], texts[0].xy[2]);
    EXPECT_GT(texts[0].xy[1], texts[0].xy[3]) << "textRotation 180 turns the text 90 degrees clockwise";
    EXPECT_EQ(tavo::workbook::Tinted(0x4F81BD, -0.249977111117893), 0x376092u);
    settings.ExchangeSolid = 0;
    EXPECT_TRUE(RecordExport(dir.file("other.xlsx"), settings).named("AddSolid").empty()) << "fills are drawn only when asked";
}

TEST(WorkbookToJwc, WholeSheetThroughTheExportsToJwcBytes) {
    TempDir dir;
    setenv("TAVO_SETTINGS_DIR", dir.file("settings").c_str(), 1);
    const std::string book = dir.file("form.xlsx"), out = dir.file("form.jwc");
    WriteXlsx(book, [](lxw_workbook* wb, lxw_worksheet* ws) {
        lxw_format* box = BoxFormat(wb);
        format_set_align(box, LXW_ALIGN_CENTER);
        lxw_format* money = BoxFormat(wb);
        format_set_num_format(money, "#,##0");
        lxw_format* fill = BoxFormat(wb, LXW_BORDER_DOUBLE);
        format_set_bg_color(fill, 0xCCFFCC);
        worksheet_merge_range(ws, 0, 0, 0, 1, "見積書", box);
        worksheet_write_string(ws, 1, 0, "品名", fill);
        worksheet_write_number(ws, 1, 1, 1234, money);
    });
    tavo::workbook::MakeExportDrawingCurrent(book, {});
    const char* name = out.c_str();
    ObjSaveToJwcFile(&name);
    ObjDestroy();
    unsetenv("TAVO_SETTINGS_DIR");
    const std::string bytes = readFile(out);
    const std::string golden = std::string(TAVO_TEST_DATA_DIR) + "/workbook_form.jwc";
    if (std::getenv("TAVO_WRITE_GOLDEN")) writeFile(golden, bytes);
    EXPECT_EQ(bytes, readFile(golden)) << "the .jwc differs from tests/data/workbook_form.jwc";
}

TEST(WorkbookInput, CellRangesAndOdsBorderAttributes) {
    using tavo::workbook::BorderStyle;
    using tavo::workbook::CellRange;
    using tavo::workbook::ParseCellRange;
    const auto same = [](const std::optional<CellRange>& r, CellRange want) {
        return r && r->firstRow == want.firstRow && r->firstCol == want.firstCol && r->lastRow == want.lastRow &&
               r->lastCol == want.lastCol;
    };
    EXPECT_TRUE(same(ParseCellRange("A1:K40"), {0, 0, 39, 10}));
    EXPECT_TRUE(same(ParseCellRange("k40:a1"), {0, 0, 39, 10})) << "either corner first, any case";
    EXPECT_TRUE(same(ParseCellRange("Sheet1!$B$2"), {1, 1, 1, 1}));
    EXPECT_TRUE(same(ParseCellRange("XFD1048576"), {1048575, 16383, 1048575, 16383}));
    for (const char* bad : {"", "A0", "XFE1", "A1048577", "A1:", "1A", "A1:B2:C3", "AAAAA1"})
        EXPECT_FALSE(ParseCellRange(bad)) << bad;

    struct Case {
        const char* attribute;
        BorderStyle style;
        uint32_t rgb;
    };
    const Case cases[] = {
        {"0.06pt solid #000000", BorderStyle::Hair, 0}, {"1.75pt solid #ff0000", BorderStyle::Medium, 0xFF0000},
        {"0.088cm solid #0000ff", BorderStyle::Thick, 0x0000FF}, {"0.74pt dashed #000000", BorderStyle::Dashed, 0},
        {"1.75pt dashed #000000", BorderStyle::MediumDashed, 0}, {"0.74pt dotted #000000", BorderStyle::Dotted, 0},
        {"0.74pt fine-dashed #000000", BorderStyle::Dashed, 0}, {"1.76pt fine-dashed #000000", BorderStyle::SlantDashDot, 0},
        {"1.75pt dash-dot-dot #000000", BorderStyle::MediumDashDotDot, 0}, {"#123456 0.74pt dash-dot", BorderStyle::DashDot, 0x123456},
        {"1.1pt double #000000", BorderStyle::Double, 0}, {"none", BorderStyle::None, 0},
        {"0pt solid #000000", BorderStyle::None, 0},
    };
    for (const Case& c : cases) {
        const tavo::workbook::BorderLine b = tavo::workbook::OdsBorder(c.attribute);
        EXPECT_EQ(b.style, c.style) << c.attribute;
        if (c.style != BorderStyle::None) {
            // Black is LibreOffice's default border colour: automatic.
            EXPECT_EQ(b.color.automatic, c.rgb == 0) << c.attribute;
            EXPECT_EQ(b.color.rgb, c.rgb) << c.attribute;
        }
    }
}

TEST(WorkbookNumbers, FormatCodesAsTheSheetShowsThem) {
    struct Case {
        double value;
        const char* code;
        const char* shown;
    };
    const Case cases[] = {
        {1234.5, "#,##0.00", "1,234.50"}, {-1234.5, "#,##0.00", "-1,234.50"},
        {1234567, "#,##0,", "1,235"}, {2.675, "0.00", "2.68"},  // rounded on 15 digits, half away from zero
        {9.9999999, "0.00", "10.00"}, {-0.001, "0.00", "0.00"},
        {0.125, "0.0%", "12.5%"}, {1234.5, "0.00E+00", "1.23E+03"},
        {12345.678, "##0.0E+0", "12.3E+3"}, {1234567, "000-0000", "123-4567"},
        {3, "00.##", "03."}, {1.75, "# ?/?", "1 3/4"},
        {-5, "#,##0 ;(#,##0)", "(5)"}, {-1234.5, "#,##0.00;[Red]-#,##0.00", "-1,234.50"}, {0, "#,##0;-#,##0;\"-\"", "-"},
        {1234, "[$¥-411]#,##0", "¥1,234"}, {5, "0\"個\"", "5個"},
        {150, "[>=100]\"大\";\"小\"", "大"}, {1.0 / 3, "", "0.333333333"},
        {123456789012.0, "General", "1.23457E+11"}, {0.000012345, "", "0.000012345"},
        {45000, "yyyy/m/d", "2023/3/15"}, {45000, "ggge\"年\"m\"月\"d\"日\"", "令和5年3月15日"},
        {43585, "ge.m.d", "H31.4.30"}, {45000, "yyyy\"年\"mm\"月\"dd\"日\"(aaa)", "2023年03月15日(水)"},
        {45000.75, "h:mm AM/PM", "6:00 PM"}, {1.5, "[h]:mm:ss", "36:00:00"},
        {0.5, "hh:mm:ss.00", "12:00:00.00"}, {1, "yyyy-mm-dd dddd", "1900-01-01 Sunday"},
        {61, "yyyy-mm-dd", "1900-03-01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tavo::workbook::FormatNumber(c.value, c.code), c.shown) << c.value << " as " << c.code;
    EXPECT_EQ(tavo::workbook::FormatNumber(0, "yyyy/m/d", 1462), "1904/1/1") << "the 1904 date system";
    EXPECT_EQ(tavo::workbook::BuiltinNumberFormat(14), "yyyy/m/d");
}

}  // namespace
