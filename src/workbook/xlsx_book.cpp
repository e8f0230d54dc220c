#include "workbook/xlsx_book.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "workbook/cell_address.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

namespace {

using xmlns::kSpreadsheetMl;

struct Relationship {
    std::string type, target;
};

class RelationshipsReader : public XmlHandler {
public:
    std::map<std::string, Relationship> byId;
    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns == xmlns::kPackageRelationships && name == "Relationship")
            byId[std::string(a.value("", "Id"))] = {std::string(a.value("", "Type")), std::string(a.value("", "Target"))};
    }
};

// A relationship target as a part name: relative to the source part's
// folder, or from the package root when it starts with "/".
std::string ResolveTarget(const std::string& sourcePart, const std::string& target) {
    if (!target.empty() && target[0] == '/') return target.substr(1);
    std::string folder = sourcePart.substr(0, sourcePart.rfind('/') + 1);
    std::string rest = target;
    while (rest.compare(0, 3, "../") == 0) {
        rest.erase(0, 3);
        if (!folder.empty()) folder.erase(folder.rfind('/', folder.size() - 2) + 1);
    }
    return folder + rest;
}

std::string RelsPartOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
    return folder + "_rels/" + part.substr(slash == std::string::npos ? 0 : slash + 1) + ".rels";
}

std::map<std::string, Relationship> ReadRelationships(const WorkbookPackage& p, const std::string& part) {
    RelationshipsReader r;
    const std::string rels = RelsPartOf(part);
    if (p.has(rels)) ParseXml(p.read(rels), r);
    return r.byId;
}

bool EndsWith(const std::string& s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

class WorkbookReader : public XmlHandler {
public:
    std::vector<std::pair<std::string, std::string>> sheets;  // name, relationship id
    std::size_t active = 0;
    bool date1904 = false;
    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns != kSpreadsheetMl) return;
        if (name == "sheet") sheets.emplace_back(a.value("", "name"), a.value(xmlns::kRelationships, "id"));
        if (name == "workbookView") active = static_cast<std::size_t>(std::atol(std::string(a.value("", "activeTab")).c_str()));
        if (name == "workbookPr") date1904 = a.value("", "date1904") == "1" || a.value("", "date1904") == "true";
    }
};

class SheetInfoReader : public XmlHandler {
public:
    explicit SheetInfoReader(bool hasFormulas) : hasFormulas_(hasFormulas) {}
    XlsxSheetInfo d;
    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns != kSpreadsheetMl) return;
        if (name == "sheetData" && !hasFormulas_) throw StopXml{};
        if (name == "c") cell_ = ParseCellAddress(a.value("", "r"));
        if (name == "f" && cell_) d.formulaCells.push_back(*cell_);
        if (name == "dimension") {
            const std::string_view ref = a.value("", "ref");
            if (const auto range = ParseCellRange(ref)) d.lastRow = range->lastRow;
        }
        if (name == "sheetFormatPr") {
            if (const auto h = a.get("", "defaultRowHeight")) d.rowPoints = std::atof(std::string(*h).c_str());
            if (const auto w = a.get("", "defaultColWidth"))
                d.columnPoints = ColumnWidthPoints(std::atof(std::string(*w).c_str()));
            else if (const auto b = a.get("", "baseColWidth"))  // padded, then up to a multiple of 8 pixels
                d.columnPoints = std::ceil((std::atof(std::string(*b).c_str()) * 7 + 5) / 8) * 8 * 0.75;
        }
    }
    void end(std::string_view ns, std::string_view name) override {
        if (ns == kSpreadsheetMl && name == "sheetData") throw StopXml{};
    }

private:
    bool hasFormulas_;
    std::optional<std::pair<int32_t, int32_t>> cell_;
};

class StringScriptsReader : public XmlHandler {
public:
    std::map<std::size_t, RichText> scripted;

    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns != kSpreadsheetMl) return;
        if (name == "si") {
            current_ = RichText{};
            hasScript_ = false;
        } else if (name == "rPh") {
            ++phonetic_;
        } else if (name == "r") {
            runScript_ = Script::None;
        } else if (name == "vertAlign") {
            const std::string_view v = a.value("", "val");
            runScript_ = v == "superscript" ? Script::Super : v == "subscript" ? Script::Sub : Script::None;
        } else if (name == "t" && phonetic_ == 0) {
            inText_ = true;
            runBegin_ = static_cast<uint32_t>(current_.text.size());
        }
    }
    void end(std::string_view ns, std::string_view name) override {
        if (ns != kSpreadsheetMl) return;
        if (name == "t" && inText_) {
            inText_ = false;
            if (runScript_ != Script::None) {
                current_.runs.push_back({runBegin_, static_cast<uint32_t>(current_.text.size()), runScript_});
                hasScript_ = true;
            }
        } else if (name == "r") {
            runScript_ = Script::None;
        } else if (name == "rPh") {
            --phonetic_;
        } else if (name == "si") {
            if (hasScript_) scripted.emplace(index_, std::move(current_));
            ++index_;
        }
    }
    void text(std::string_view chars) override {
        if (inText_) current_.text += chars;
    }

private:
    RichText current_;
    std::size_t index_ = 0;
    int phonetic_ = 0;
    bool inText_ = false, hasScript_ = false;
    Script runScript_ = Script::None;
    uint32_t runBegin_ = 0;
};

}  // namespace

double ColumnWidthPoints(double characters) {
    // Pixels as the spreadsheet rounds them for a 7-pixel digit, at 0.75 points each.
    const double pixels = std::trunc((256 * characters + std::trunc(128.0 / 7)) / 256 * 7);
    return std::max(0.0, pixels) * 0.75;
}

XlsxBook ReadXlsxBook(const WorkbookPackage& p) {
    std::string workbookPart;
    for (const auto& [id, rel] : ReadRelationships(p, ""))
        if (EndsWith(rel.type, "/officeDocument")) workbookPart = ResolveTarget("", rel.target);
    if (workbookPart.empty()) workbookPart = "xl/workbook.xml";
    WorkbookReader w;
    ParseXml(p.read(workbookPart), w);
    const auto rels = ReadRelationships(p, workbookPart);
    XlsxBook book;
    for (const auto& [name, id] : w.sheets) {
        const auto it = rels.find(id);
        book.sheetNames.push_back(name);
        book.sheetParts.push_back(it == rels.end() ? std::string() : ResolveTarget(workbookPart, it->second.target));
    }
    book.activeSheet = w.active < book.sheetNames.size() ? w.active : 0;
    book.date1904 = w.date1904;
    for (const auto& [id, rel] : rels) {
        const std::string part = ResolveTarget(workbookPart, rel.target);
        if (EndsWith(rel.type, "/styles")) book.stylesPart = part;
        if (EndsWith(rel.type, "/sharedStrings")) book.sharedStringsPart = part;
        if (EndsWith(rel.type, "/theme")) book.themePart = part;
    }
    return book;
}

XlsxSheetInfo ReadXlsxSheetInfo(std::string_view sheetXml) {
    const bool hasFormulas = sheetXml.find("<f>") != std::string_view::npos ||
                             sheetXml.find("<f ") != std::string_view::npos ||
                             sheetXml.find(":f>") != std::string_view::npos ||
                             sheetXml.find(":f ") != std::string_view::npos;
    SheetInfoReader r(hasFormulas);
    ParseXml(sheetXml, r);
    return std::move(r.d);
}

std::map<std::size_t, RichText> ReadXlsxStringScripts(std::string_view sharedStringsXml) {
    if (sharedStringsXml.find("vertAlign") == std::string_view::npos) return {};
    StringScriptsReader r;
    ParseXml(sharedStringsXml, r);
    return std::move(r.scripted);
}

}  // namespace tavo::workbook
