#pragma once

// Workbooks of the corpus that are assembled from hand-written parts, the
// way other writers lay out their packages: openpyxl's absolute part names
// and inline strings, Excel's phonetic runs and drawings, prefixed and
// strict namespaces.
#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace tavo::test {

struct BookParts {
    std::string sheetXml = {};        // the worksheet's children (sheetData and after)
    std::string sharedStrings = {};   // the sst's children, or empty for none
    std::string drawing = {};         // the wsDr's children, or empty for none
    std::string styles = {};          // the styleSheet's children, or empty for none
    std::string theme = {};           // the theme's colour scheme (clrScheme's children), or empty for none
    bool absoluteTargets = false;     // "/xl/worksheets/sheet1.xml", as openpyxl writes them
    bool strict = false;              // the strict OOXML namespaces
    std::string prefix = {};          // a namespace prefix on the spreadsheet elements ("x")
};

inline std::string Replaced(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

// The parts of a one-sheet package named "Sheet1".
inline std::vector<std::pair<std::string, std::string>> AssembleBook(const BookParts& b) {
    const std::string ooxml = b.strict ? "http://purl.oclc.org/ooxml/" : "http://schemas.openxmlformats.org/";
    const std::string main = ooxml + (b.strict ? "spreadsheetml/main" : "spreadsheetml/2006/main");
    const std::string rel = ooxml + (b.strict ? "officeDocument/relationships" : "officeDocument/2006/relationships");
    const std::string p = b.prefix.empty() ? "" : b.prefix + ":";
    const std::string ns = b.prefix.empty() ? " xmlns=\"" + main + "\"" : " xmlns:" + b.prefix + "=\"" + main + "\"";
    // Elements of the main namespace get the prefix: every tag of the parts is one.
    const auto prefixed = [&](const std::string& xml) {
        if (p.empty()) return xml;
        std::string out;
        for (std::size_t i = 0; i < xml.size(); ++i) {
            if (xml.compare(i, 9, "<![CDATA[") == 0) {  // taken as it stands
                const std::size_t end = xml.find("]]>", i);
                out += xml.substr(i, end + 3 - i);
                i = end + 2;
                continue;
            }
            out += xml[i];
            if (xml[i] != '<') continue;
            std::size_t j = i + 1;
            if (j < xml.size() && xml[j] == '/') out += xml[j++];
            const std::size_t end = xml.find_first_of(" />", j);
            if (j < xml.size() && std::isalpha(static_cast<unsigned char>(xml[j])) &&
                xml.substr(j, end - j).find(':') == std::string::npos)
                out += p;
            i = j - 1;
        }
        return out;
    };
    const std::string target = b.absoluteTargets ? "/xl/" : "";
    const std::string types =
        R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
        R"(<Default Extension="xml" ContentType="application/xml"/>)"
        R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
        R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
        R"(<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>)"
        R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
        R"(<Override PartName="/xl/drawings/drawing1.xml" ContentType="application/vnd.openxmlformats-officedocument.drawing+xml"/>)"
        R"(</Types>)";
    const std::string relsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
    const auto relationship = [&](const std::string& id, const std::string& type, const std::string& to) {
        return "<Relationship Id=\"" + id + "\" Type=\"" + rel + "/" + type + "\" Target=\"" + to + "\"/>";
    };
    std::vector<std::pair<std::string, std::string>> parts{
        {"[Content_Types].xml", types},
        {"_rels/.rels", "<Relationships xmlns=\"" + relsNs + "\">" +
                            relationship("rId1", "officeDocument", b.absoluteTargets ? "/xl/workbook.xml" : "xl/workbook.xml") +
                            "</Relationships>"},
        {"xl/workbook.xml", "<?xml version=\"1.0\"?>" + prefixed("<workbook" + ns + " xmlns:r=\"" + rel +
                                                                 "\"><sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>")},
    };
    std::string workbookRels = relationship("rId1", "worksheet", target + "worksheets/sheet1.xml");
    if (!b.sharedStrings.empty()) {
        workbookRels += relationship("rId2", "sharedStrings", target + "sharedStrings.xml");
        parts.emplace_back("xl/sharedStrings.xml", "<?xml version=\"1.0\"?>" + prefixed("<sst" + ns + ">" + b.sharedStrings + "</sst>"));
    }
    if (!b.styles.empty()) {
        workbookRels += relationship("rId3", "styles", target + "styles.xml");
        parts.emplace_back("xl/styles.xml", "<?xml version=\"1.0\"?>" + prefixed("<styleSheet" + ns + ">" + b.styles + "</styleSheet>"));
    }
    const std::string aNs = ooxml + (b.strict ? "drawingml/main" : "drawingml/2006/main");
    if (!b.theme.empty()) {
        workbookRels += relationship("rId4", "theme", target + "theme/theme1.xml");
        parts.emplace_back("xl/theme/theme1.xml", "<a:theme xmlns:a=\"" + aNs + "\"><a:themeElements><a:clrScheme name=\"x\">" +
                                                      b.theme + "</a:clrScheme></a:themeElements></a:theme>");
    }
    parts.emplace_back("xl/_rels/workbook.xml.rels", "<Relationships xmlns=\"" + relsNs + "\">" + workbookRels + "</Relationships>");
    std::string sheet = b.sheetXml;
    if (!b.drawing.empty()) {
        sheet += "<drawing r:id=\"rId1\"/>";
        const std::string drawingNs = ooxml + (b.strict ? "drawingml/spreadsheetDrawing" : "drawingml/2006/spreadsheetDrawing");
        parts.emplace_back("xl/drawings/drawing1.xml",
                           "<?xml version=\"1.0\"?><xdr:wsDr xmlns:xdr=\"" + drawingNs + "\" xmlns:a=\"" + aNs +
                               "\" xmlns:r=\"" + rel + "\" xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"" +
                               " xmlns:a14=\"http://schemas.microsoft.com/office/drawing/2010/main\">" + b.drawing +
                               "</xdr:wsDr>");
        parts.emplace_back("xl/worksheets/_rels/sheet1.xml.rels",
                           "<Relationships xmlns=\"" + relsNs + "\">" +
                               relationship("rId1", "drawing", b.absoluteTargets ? "/xl/drawings/drawing1.xml" : "../drawings/drawing1.xml") +
                               "</Relationships>");
    }
    parts.emplace_back("xl/worksheets/sheet1.xml",
                       "<?xml version=\"1.0\"?>" + prefixed("<worksheet" + ns + " xmlns:r=\"" + rel + "\">" + sheet + "</worksheet>"));
    return parts;
}

// An anchor from one cell corner to another, EMU offsets 0, holding `body`.
inline std::string TwoCellAnchor(int col0, int row0, int col1, int row1, const std::string& body) {
    const auto corner = [](const char* name, int col, int row) {
        return std::string("<xdr:") + name + "><xdr:col>" + std::to_string(col) + "</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>" +
               std::to_string(row) + "</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:" + name + ">";
    };
    return "<xdr:twoCellAnchor>" + corner("from", col0, row0) + corner("to", col1, row1) + body +
           "<xdr:clientData/></xdr:twoCellAnchor>";
}

// A preset shape (or a connector, for the line presets) with a line of the
// given DrawingML, optional text; no fill.
inline std::string PresetShape(int id, const std::string& preset, const std::string& line, const std::string& text = "",
                               bool textBox = false) {
    const bool connector = preset == "line" || preset.find("Connector") != std::string::npos;
    const std::string tag = connector ? "cxnSp" : "sp";
    const std::string nv = connector
                               ? "<xdr:nvCxnSpPr><xdr:cNvPr id=\"" + std::to_string(id) + "\" name=\"C" + std::to_string(id) +
                                     "\"/><xdr:cNvCxnSpPr/></xdr:nvCxnSpPr>"
                               : "<xdr:nvSpPr><xdr:cNvPr id=\"" + std::to_string(id) + "\" name=\"S" + std::to_string(id) +
                                     "\"/><xdr:cNvSpPr" + (textBox ? " txBox=\"1\"" : "") + "/></xdr:nvSpPr>";
    const std::string body = text.empty() ? ""
                                          : "<xdr:txBody><a:bodyPr/><a:lstStyle/><a:p><a:r><a:rPr lang=\"ja-JP\" sz=\"1100\"/><a:t>" +
                                                text + "</a:t></a:r></a:p></xdr:txBody>";
    return "<xdr:" + tag + " macro=\"\">" + nv + "<xdr:spPr><a:prstGeom prst=\"" + preset + "\"><a:avLst/></a:prstGeom>" +
           (connector ? "" : "<a:noFill/>") + line + "</xdr:spPr>" + body + "</xdr:" + tag + ">";
}

// A solid line of `emu` width and colour.
inline std::string SolidLine(int emu, const std::string& rgb, const std::string& extra = "") {
    return "<a:ln w=\"" + std::to_string(emu) + "\"><a:solidFill><a:srgbClr val=\"" + rgb + "\"/></a:solidFill>" + extra +
           "</a:ln>";
}

}  // namespace tavo::test
