#pragma once

// A corpus of workbooks by idiom: written by libxlsxwriter and openpyxl,
// and assembled from hand-written parts the way other writers lay them out.
// The workbook host's tests and the spreadsheet macros' tests read them.
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"
#include "workbook_books.h"
#include "workbook_support.h"

namespace tavo::test {

struct Book {
    std::string name;
    std::function<void(const std::string& path)> write;
    std::vector<std::string> texts;  // the texts the sheet shows, one entry a line
    tavo::workbook::NotDrawn notDrawn = {};
    bool libreOffice = true;  // saved again by LibreOffice for the comparison
};

inline void WriteParts(const std::string& path, const BookParts& parts) {
    tavo::test::writeFile(path, StoredZip(AssembleBook(parts)));
}

inline const std::string kThinBorderStyles =
    R"(<numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy\-mm\-dd"/></numFmts>)"
    R"(<fonts count="1"><font><sz val="11"/></font></fonts><fills count="1"><fill><patternFill patternType="none"/></fill></fills>)"
    R"(<borders count="2"><border/><border><left style="thin"/><right style="thin"/><top style="thin"/><bottom style="thin"/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
    R"(<xf numFmtId="164" fontId="0" fillId="0" borderId="1" xfId="0" applyNumberFormat="1" applyBorder="1"/>)"
    R"(<xf numFmtId="0" fontId="0" fillId="0" borderId="1" xfId="0" applyBorder="1"/></cellXfs>)"
    R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)";

inline std::vector<Book> Corpus() {
    std::vector<Book> books;
    books.push_back({"lxw_form",
                     [](const std::string& path) {
                         tavo::test::WriteXlsx(path, [](lxw_workbook* wb, lxw_worksheet* ws) {
                             lxw_format* title = workbook_add_format(wb);
                             format_set_align(title, LXW_ALIGN_CENTER);
                             format_set_bottom(title, LXW_BORDER_DOUBLE);
                             worksheet_merge_range(ws, 0, 0, 0, 3, "見積書", title);
                             lxw_format* box = tavo::test::BoxFormat(wb);
                             lxw_format* red = tavo::test::BoxFormat(wb, LXW_BORDER_MEDIUM);
                             format_set_border_color(red, 0xFF0000);
                             lxw_format* dashed = tavo::test::BoxFormat(wb, LXW_BORDER_DASHED);
                             lxw_format* money = tavo::test::BoxFormat(wb);
                             format_set_num_format(money, "#,##0.00");
                             lxw_format* date = tavo::test::BoxFormat(wb, LXW_BORDER_DOTTED);
                             format_set_num_format(date, "yyyy/m/d");
                             const char* heads[] = {"品名", "数量", "原価", "日付"};
                             for (int c = 0; c < 4; ++c) worksheet_write_string(ws, 1, c, heads[c], box);
                             worksheet_write_string(ws, 2, 0, "秘密", box);
                             worksheet_write_string(ws, 3, 0, "材料", dashed);
                             worksheet_write_number(ws, 3, 1, 1234.5, money);
                             worksheet_write_boolean(ws, 3, 2, 1, red);
                             worksheet_write_number(ws, 3, 3, 45000, date);
                             // Widths every writer keeps: a default width is each one's own.
                             worksheet_set_column(ws, 0, 1, 12, nullptr);
                             worksheet_set_column(ws, 3, 3, 12, nullptr);
                             lxw_row_col_options hidden{};
                             hidden.hidden = 1;
                             worksheet_set_column_opt(ws, 2, 2, 12, nullptr, &hidden);
                             worksheet_set_row_opt(ws, 2, LXW_DEF_ROW_HEIGHT, nullptr, &hidden);
                         });
                     },
                     {"見積書", "品名", "数量", "日付", "材料", "1,234.50", "2023/3/15"}});
    books.push_back({"parts_furigana",
                     [](const std::string& path) {
                         BookParts p;
                         p.prefix = "x";
                         p.sharedStrings =
                             "<si><r><t>品</t></r><r><t>名</t></r><rPh sb=\"0\" eb=\"2\"><t>ヒンメイ</t></rPh>"
                             "<phoneticPr fontId=\"1\" type=\"noConversion\"/></si>"
                             "<si><t>数量</t><rPh sb=\"0\" eb=\"2\"><t>スウリョウ</t></rPh><phoneticPr fontId=\"1\"/></si>"
                             "<si><t xml:space=\"preserve\">一行目_x000D_\n二行目</t></si>"
                             "<si><t><![CDATA[A&B <c>]]></t></si>"
                             "<si><r><t>m</t></r><r><rPr><vertAlign val=\"superscript\"/></rPr><t>2</t></r></si>";
                         p.styles = kThinBorderStyles;
                         p.sheetXml =
                             "<sheetFormatPr defaultRowHeight=\"15\"/><cols><col min=\"1\" max=\"3\" width=\"12\" customWidth=\"1\"/></cols>"
                             "<sheetData><row r=\"1\"><c r=\"A1\" s=\"2\" t=\"s\"><v>0</v></c><c r=\"B1\" s=\"\" t=\"s\"><v>1</v></c></row>"
                             "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>2</v></c></row><row r=\"4\" ht=\"30\" customHeight=\"1\">"
                             "<c r=\"A4\" t=\"s\"><v>3</v></c><c r=\"B4\" t=\"s\"><v>4</v></c></row></sheetData>";
                         WriteParts(path, p);
                     },
                     {"品名", "数量", "一行目", "二行目", "A&B <c>", "m2"}});
    books.push_back({"parts_inline_absolute",
                     [](const std::string& path) {
                         BookParts p;
                         p.absoluteTargets = true;
                         p.styles = kThinBorderStyles;
                         p.sheetXml =
                             "<sheetFormatPr defaultRowHeight=\"15\"/><cols><col min=\"1\" max=\"1\" width=\"10\" customWidth=\"1\"/>"
                             "<col min=\"2\" max=\"2\" width=\"14\" customWidth=\"1\"/><col min=\"3\" max=\"3\" width=\"10\" customWidth=\"1\"/>"
                             "<col min=\"4\" max=\"4\" width=\"9\" hidden=\"true\"/></cols><sheetData>"
                             "<row r=\"1\"><c r=\"A1\" s=\"2\" t=\"inlineStr\"><is><t>字</t></is></c>"
                             "<c r=\"B1\" s=\"2\" t=\"inlineStr\"><is><r><t>ri</t></r><r><rPr><b/></rPr><t>ch</t></r></is></c>"
                             "<c r=\"D1\" t=\"inlineStr\"><is><t>hidden column</t></is></c></row>"
                             "<row r=\"2\"><c r=\"A2\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c>"
                             "<c r=\"B2\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c><c r=\"C2\" t=\"e\"><v>#N/A</v></c></row>"
                             "<row r=\"3\"><c r=\"A3\" t=\"b\"><v>1</v></c><c r=\"B3\" s=\"1\" t=\"d\"><v>2024-03-05T00:00:00</v></c>"
                             "<c r=\"C3\" s=\"2\"><v>42</v></c></row>"
                             "<row r=\"4\" hidden=\"true\"><c r=\"A4\" t=\"inlineStr\"><is><t>hidden row</t></is></c></row>"
                             "<row r=\"5\"><c t=\"inlineStr\"><is><t>no r</t></is></c><c><v>7</v></c></row>"
                             "<row r=\"6\"><c r=\"A6\"><f t=\"shared\" ref=\"A6:B6\" si=\"0\">$C$3+1</f><v>43</v></c>"
                             "<c r=\"B6\"><f t=\"shared\" si=\"0\"/><v>43</v></c></row></sheetData>";
                         WriteParts(path, p);
                     },
                     {"字", "rich", "ab", "#DIV/0!", "#N/A", "TRUE", "2024-03-05", "42", "no r", "7", "43", "43"}});
    books.push_back({"parts_strict",
                     [](const std::string& path) {
                         BookParts p;
                         p.strict = true;
                         p.sharedStrings = "<si><t>strict 字</t></si>";
                         p.sheetXml = "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                                      "<c r=\"B1\"><v>3.5</v></c></row></sheetData>";
                         WriteParts(path, p);
                     },
                     {"strict 字", "3.5"},
                     {},
                     false});
    books.push_back({"parts_shapes",
                     [](const std::string& path) {
                         BookParts p;
                         p.sheetXml = "<sheetFormatPr defaultRowHeight=\"15\"/><cols><col min=\"1\" max=\"13\" width=\"10\" customWidth=\"1\"/></cols>"
                                      "<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>図</t></is></c>";
                         // A ruled column N and row 13: every column's and row's edge is a line.
                         for (int r = 1; r <= 13; ++r) {
                             if (r > 1) p.sheetXml += "<row r=\"" + std::to_string(r) + "\">";
                             for (char c = r == 13 ? 'A' : 'N'; c <= 'N'; ++c)
                                 p.sheetXml += std::string("<c r=\"") + c + std::to_string(r) + "\" s=\"2\"/>";
                             p.sheetXml += "</row>";
                         }
                         p.sheetXml += "</sheetData>";
                         p.styles = kThinBorderStyles;
                         const std::string black = SolidLine(9525, "000000");
                         const std::string groupMember = "<xdr:sp macro=\"\"><xdr:nvSpPr><xdr:cNvPr id=\"%\" name=\"G%\"/><xdr:cNvSpPr/></xdr:nvSpPr>"
                                                         "<xdr:spPr><a:xfrm><a:off x=\"@\" y=\"0\"/><a:ext cx=\"1000\" cy=\"1000\"/></a:xfrm>"
                                                         "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>" + black + "</xdr:spPr></xdr:sp>";
                         const auto member = [&](int id, int x) {
                             return tavo::test::Replaced(tavo::test::Replaced(groupMember, "%", std::to_string(id)), "@", std::to_string(x));
                         };
                         p.drawing =
                             TwoCellAnchor(1, 1, 4, 1, PresetShape(2, "straightConnector1",
                                                                   SolidLine(19050, "FF0000", "<a:prstDash val=\"dash\"/><a:tailEnd type=\"triangle\"/>"))) +
                             TwoCellAnchor(1, 3, 3, 6, PresetShape(3, "rect", black)) +
                             TwoCellAnchor(4, 3, 6, 6, PresetShape(4, "roundRect", black)) +
                             TwoCellAnchor(7, 3, 9, 6, PresetShape(5, "ellipse", SolidLine(28575, "0000FF"))) +
                             TwoCellAnchor(1, 7, 4, 9, PresetShape(6, "rect", black, "注記", true)) +
                             TwoCellAnchor(5, 7, 9, 10,
                                           "<xdr:grpSp><xdr:nvGrpSpPr><xdr:cNvPr id=\"7\" name=\"G\"/><xdr:cNvGrpSpPr/></xdr:nvGrpSpPr>"
                                           "<xdr:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"100\" cy=\"100\"/>"
                                           "<a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"2000\" cy=\"1000\"/></a:xfrm></xdr:grpSpPr>" +
                                               member(8, 0) + member(9, 1000) + "</xdr:grpSp>") +
                             TwoCellAnchor(10, 1, 12, 4, "<xdr:pic><xdr:nvPicPr><xdr:cNvPr id=\"10\" name=\"P\"/><xdr:cNvPicPr/></xdr:nvPicPr>"
                                                         "<xdr:blipFill/><xdr:spPr/></xdr:pic>") +
                             TwoCellAnchor(10, 5, 12, 8, "<xdr:graphicFrame macro=\"\"><xdr:nvGraphicFramePr><xdr:cNvPr id=\"11\" name=\"C\"/>"
                                                         "<xdr:cNvGraphicFramePr/></xdr:nvGraphicFramePr><xdr:xfrm/><a:graphic>"
                                                         "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"/>"
                                                         "</a:graphic></xdr:graphicFrame>") +
                             "<mc:AlternateContent><mc:Choice Requires=\"a14\">" +
                             TwoCellAnchor(10, 9, 12, 10, "<xdr:sp macro=\"\"><xdr:nvSpPr><xdr:cNvPr id=\"12\" name=\"B\" hidden=\"0\">"
                                                          "<a:extLst><a:ext uri=\"{63B3BB69-23CF-44E3-9099-C40C66FF867C}\">"
                                                          "<a14:compatExt spid=\"_x0000_s1025\"/></a:ext></a:extLst></xdr:cNvPr>"
                                                          "<xdr:cNvSpPr/></xdr:nvSpPr><xdr:spPr><a:prstGeom prst=\"rect\"/></xdr:spPr></xdr:sp>") +
                             "</mc:Choice><mc:Fallback/></mc:AlternateContent>";
                         WriteParts(path, p);
                     },
                     {"図", "注記"},
                     {1, 1, 1, 0}});
    books.push_back({"openpyxl",
                     [](const std::string& path) {
                         const std::string script =
                             "import sys, openpyxl\n"
                             "from openpyxl.styles import Border, Side, Alignment\n"
                             "wb = openpyxl.Workbook(); ws = wb.active; ws.title = '見積'\n"
                             "thin = Side(style='thin'); box = Border(left=thin, right=thin, top=thin, bottom=thin)\n"
                             "ws['A1'] = '工事名'; ws['B1'] = '新築工事'; ws.merge_cells('B1:D1')\n"
                             "ws['B1'].alignment = Alignment(horizontal='center')\n"
                             "for r in range(2, 5):\n"
                             "    for c in range(1, 5): ws.cell(r, c).border = box\n"
                             "for c, t in enumerate(['品名', '数量', '単価', '金額'], 1): ws.cell(2, c, t)\n"
                             "ws['A3'] = '材料'; ws['B3'] = 3; ws['C3'] = 1200; ws['D3'] = 3600\n"
                             "ws['A4'] = '手間'; ws['B4'] = True; ws['C4'] = 0.5\n"
                             "ws['A6'] = '隠し'; ws.row_dimensions[6].hidden = True\n"
                             "for c in 'ABCDEF': ws.column_dimensions[c].width = 12\n"
                             "ws['F2'] = '隠し列'; ws.column_dimensions['F'].hidden = True\n"
                             "wb.save(sys.argv[1])\n";
                         const std::string scriptPath = path + ".py";
                         tavo::test::writeFile(scriptPath, script);
                         if (std::system(("/usr/bin/python3 '" + scriptPath + "' '" + path + "'").c_str()) != 0)
                             throw std::runtime_error("openpyxl (python3-openpyxl) cannot write " + path);
                     },
                     {"工事名", "新築工事", "品名", "数量", "単価", "金額", "材料", "3", "1200", "3600", "手間", "TRUE", "0.5"}});
    return books;
}

}  // namespace tavo::test
