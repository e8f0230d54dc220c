#include "workbook/xlsx_book.h"

#include <algorithm>
#include <cmath>

#include "workbook/workbook_limits.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

namespace {

using xmlns::kSpreadsheetMl;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A relationship target as a part name: percent escapes resolved, relative
// to the source part's folder, or from the package root when it starts
// with "/"; "." and ".." steps taken.
std::string ResolveTarget(const std::string& sourcePart, const std::string& target) {
    std::string decoded;
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] == '%' && i + 2 < target.size() && HexValue(target[i + 1]) >= 0 && HexValue(target[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(target[i + 1]) * 16 + HexValue(target[i + 2]));
            i += 2;
        } else {
            decoded += target[i] == '\\' ? '/' : target[i];
        }
    }
    const std::string joined = !decoded.empty() && decoded[0] == '/'
                                   ? decoded
                                   : sourcePart.substr(0, sourcePart.rfind('/') + 1) + decoded;
    std::vector<std::string> steps;
    for (std::size_t at = 0; at <= joined.size();) {
        const std::size_t slash = std::min(joined.find('/', at), joined.size());
        const std::string step = joined.substr(at, slash - at);
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        at = slash + 1;
    }
    std::string part;
    for (const std::string& s : steps) part += (part.empty() ? "" : "/") + s;
    return part;
}

std::string RelsPartOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
    return folder + "_rels/" + part.substr(slash == std::string::npos ? 0 : slash + 1) + ".rels";
}

class RelationshipsReader : public XmlHandler {
public:
    explicit RelationshipsReader(std::string source) : source_(std::move(source)) {}
    std::map<std::string, Relationship> byId;
    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns != xmlns::kPackageRelationships || name != "Relationship") return;
        const std::string_view type = a.value("", "Type");
        Relationship r;
        r.type = std::string(type.substr(type.rfind('/') + 1));
        r.external = a.value("", "TargetMode") == "External";
        r.part = r.external ? std::string(a.value("", "Target")) : ResolveTarget(source_, std::string(a.value("", "Target")));
        byId[std::string(a.value("", "Id"))] = std::move(r);
    }

private:
    std::string source_;
};

class WorkbookReader : public XmlHandler {
public:
    std::vector<std::pair<std::string, std::string>> sheets;  // name, relationship id
    std::size_t active = 0;
    bool date1904 = false;
    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns != kSpreadsheetMl) return;
        if (name == "sheet") sheets.emplace_back(UnescapeOoxml(a.value("", "name")), a.value(xmlns::kRelationships, "id"));
        if (name == "workbookView") active = static_cast<std::size_t>(std::max(0L, a.number("", "activeTab")));
        if (name == "workbookPr") date1904 = a.flag("", "date1904");
    }
};

class SharedStringsReader : public XmlHandler {
public:
    std::vector<RichText> strings;
    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns != kSpreadsheetMl) return;
        if (name == "si") inString_ = true;
        else if (name == "sst") strings.reserve(static_cast<std::size_t>(std::clamp(a.number("", "uniqueCount"), 0L, 1L << 20)));
        else if (inString_) reader_.start(name, a);
    }
    void end(std::string_view ns, std::string_view name) override {
        if (ns != kSpreadsheetMl) return;
        if (name == "si") {
            inString_ = false;
            strings.push_back(reader_.take());
            CheckLimit(strings.size(), kMaxStrings, "shared strings");
        } else if (inString_) {
            reader_.end(name);
        }
    }
    void text(std::string_view chars) override {
        if (inString_) reader_.text(chars);
    }

private:
    bool inString_ = false;
    RichTextReader reader_;
};

}  // namespace

void RichTextReader::start(std::string_view name, const XmlAttributes& a) {
    if (name == "rPh" || name == "phoneticPr") {
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

void RichTextReader::end(std::string_view name) {
    if (name == "t" && inText_) {
        inText_ = false;
        if (runScript_ != Script::None)
            current_.runs.push_back({runBegin_, static_cast<uint32_t>(current_.text.size()), runScript_});
    } else if (name == "r") {
        runScript_ = Script::None;
    } else if ((name == "rPh" || name == "phoneticPr") && phonetic_ > 0) {
        --phonetic_;
    }
}

void RichTextReader::text(std::string_view chars) {
    if (!inText_) return;
    current_.text += chars;
    CheckLimit(current_.text.size(), kMaxTextBytes, "bytes in one text");
}

RichText RichTextReader::take() {
    RichText t = std::move(current_);
    current_ = RichText{};
    phonetic_ = 0;
    inText_ = false;
    runScript_ = Script::None;
    if (t.text.find("_x") == std::string::npos) return t;
    // Escapes change lengths: resolve each run's pieces on their own.
    RichText out;
    uint32_t at = 0;
    const auto piece = [&](uint32_t from, uint32_t to) { return UnescapeOoxml(std::string_view(t.text).substr(from, to - from)); };
    for (const ScriptRun& r : t.runs) {
        out.text += piece(at, r.begin);
        const auto begin = static_cast<uint32_t>(out.text.size());
        out.text += piece(r.begin, r.end);
        out.runs.push_back({begin, static_cast<uint32_t>(out.text.size()), r.script});
        at = r.end;
    }
    out.text += piece(at, static_cast<uint32_t>(t.text.size()));
    return out;
}

std::map<std::string, Relationship> ReadRelationships(const WorkbookPackage& p, const std::string& part) {
    RelationshipsReader r(part);
    const std::string rels = RelsPartOf(part);
    if (p.has(rels)) p.parse(rels, r);
    return r.byId;
}

double ColumnWidthPoints(double characters) {
    // Pixels as the spreadsheet rounds them for a 7-pixel digit, at 0.75 points each.
    const double pixels = std::trunc((256 * characters + std::trunc(128.0 / 7)) / 256 * 7);
    return std::max(0.0, pixels) * 0.75;
}

XlsxBook ReadXlsxBook(const WorkbookPackage& p) {
    std::string workbookPart;
    for (const auto& [id, rel] : ReadRelationships(p, ""))
        if (rel.type == "officeDocument" && !rel.external) workbookPart = rel.part;
    if (workbookPart.empty() || !p.has(workbookPart)) workbookPart = "xl/workbook.xml";
    WorkbookReader w;
    p.parse(workbookPart, w);
    const auto rels = ReadRelationships(p, workbookPart);
    XlsxBook book;
    for (const auto& [name, id] : w.sheets) {
        const auto it = rels.find(id);
        book.sheetNames.push_back(name);
        book.sheetParts.push_back(it == rels.end() ? std::string() : it->second.part);
    }
    book.activeSheet = w.active < book.sheetNames.size() ? w.active : 0;
    book.date1904 = w.date1904;
    for (const auto& [id, rel] : rels) {
        if (rel.type == "styles") book.stylesPart = rel.part;
        if (rel.type == "sharedStrings") book.sharedStringsPart = rel.part;
        if (rel.type == "theme") book.themePart = rel.part;
    }
    return book;
}

std::vector<RichText> ReadXlsxSharedStrings(const WorkbookPackage& p, const std::string& part) {
    SharedStringsReader r;
    if (!part.empty() && p.has(part)) p.parse(part, r);
    return std::move(r.strings);
}

}  // namespace tavo::workbook
