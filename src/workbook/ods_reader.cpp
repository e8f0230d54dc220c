// .ods sheets through liborcus's zip archive and XML parser. liborcus's
// own .ods import filter (0.17) drops merged areas, hidden rows and
// columns, repeated rows and the formats of repeated cells, which a ruled
// form is made of; this reader walks content.xml itself.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "base/error.h"
#include "workbook/cell_address.h"
#include "workbook/ods_shapes.h"
#include "workbook/ods_styles.h"
#include "workbook/workbook_limits.h"
#include "workbook/workbook_package.h"
#include "workbook/workbook_reader.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

namespace {

using xmlns::kOdfTable;
using xmlns::kOdfText;
using xmlns::kOdfOffice;
using xmlns::kOdfConfig;
using xmlns::kOdfDraw;


int32_t Count(const XmlAttributes& a, std::string_view name) {
    const long n = std::atol(std::string(a.value(kOdfTable, name)).c_str());
    return n < 1 ? 1 : static_cast<int32_t>(std::min<long>(n, kSheetRows));
}

bool Hidden(const XmlAttributes& a) {
    const std::string_view v = a.value(kOdfTable, "visibility");
    return v == "collapse" || v == "filter";
}

// Styles of styles.xml, the active sheet's name from settings.xml.
class StylesPartReader : public XmlHandler {
public:
    explicit StylesPartReader(OdsStyles& styles) : styles_(styles) {}
    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        styles_.start(ns, name, a);
    }
    void end(std::string_view ns, std::string_view name) override { styles_.end(ns, name); }

private:
    OdsStyles& styles_;
};

class ActiveTableReader : public XmlHandler {
public:
    std::string active;
    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        inActive_ = ns == kOdfConfig && name == "config-item" && a.value(kOdfConfig, "name") == "ActiveTable";
    }
    void text(std::string_view chars) override {
        if (inActive_) active += chars;
    }
    void end(std::string_view, std::string_view) override {
        if (inActive_) throw StopXml{};
    }

private:
    bool inActive_ = false;
};

// Whether the sheet at `index` named `name` is the one wanted: by name,
// else by position from 1, else the active one.
using SheetTest = std::function<bool(std::size_t index, const std::string& name)>;

class ContentReader : public XmlHandler {
public:
    ContentReader(OdsStyles& styles, CellCollector& collector, SheetTest isTarget, std::size_t size,
                  const ProgressFn& progress)
        : styles_(styles), collector_(collector), model_(collector.model()), isTarget_(std::move(isTarget)),
          size_(size), progress_(progress), shapes_(styles, collector.model()) {}

    std::vector<std::string> names;  // of the sheets seen
    bool found = false;

    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t offset) override {
        if (ns == kOdfOffice && name == "automatic-styles") inStyles_ = true;
        if (inStyles_) {
            styles_.start(ns, name, a);
            return;
        }
        if (ns == kOdfTable && name == "table") {
            names.emplace_back(a.value(kOdfTable, "name"));
            if (isTarget_(names.size() - 1, names.back())) {
                inTarget_ = found = true;
                model_.name = names.back();
            }
            return;
        }
        if (!inTarget_) return;
        if (progress_ && offset - lastProgress_ > (1u << 20)) {
            lastProgress_ = offset;
            progress_(static_cast<double>(offset) / static_cast<double>(size_));
        }
        if (ns == kOdfOffice && name == "annotation") ++annotation_;
        if (annotation_ > 0) return;
        if (shapes_.active() || ns == kOdfDraw) {
            // Shapes hang from their cell, or from the sheet's corner in table:shapes.
            shapes_.start(ns, name, a, inPageShapes_ ? 0 : row_, inPageShapes_ ? 0 : col_);
            return;
        }
        if (ns == kOdfTable && name == "shapes") inPageShapes_ = true;
        if (ns == kOdfTable) tableElement(name, a);
        else if (ns == kOdfText && cell_) textElement(name, a);
    }

    void end(std::string_view ns, std::string_view name) override {
        if (inStyles_) {
            if (ns == kOdfOffice && name == "automatic-styles") inStyles_ = false;
            styles_.end(ns, name);
            return;
        }
        if (!inTarget_) return;
        if (ns == kOdfOffice && name == "annotation") --annotation_;
        if (annotation_ > 0) return;
        if (shapes_.active() || ns == kOdfDraw) {
            shapes_.end(ns, name);
            return;
        }
        if (ns == kOdfTable && name == "shapes") inPageShapes_ = false;
        if (ns == kOdfTable && name == "table") throw StopXml{};
        if (ns == kOdfTable && (name == "table-cell" || name == "covered-table-cell")) endCell();
        if (ns == kOdfTable && name == "table-row") endRow();
        if (ns == kOdfText && name == "span" && !scripts_.empty()) scripts_.pop_back();
        if (ns == kOdfText && name == "p") inParagraph_ = false;
    }

    void text(std::string_view chars) override {
        if (annotation_ > 0) return;
        if (shapes_.active()) shapes_.text(chars);
        else if (cell_ && inParagraph_) append(chars);
    }

private:
    struct RowCell {
        Cell cell;
        int32_t repeat;
        int32_t rowSpan, colSpan;
    };

    void tableElement(std::string_view name, const XmlAttributes& a) {
        if (name == "table-column") {
            const int32_t n = Count(a, "number-columns-repeated");
            if (const auto w = styles_.columnWidth(std::string(a.value(kOdfTable, "style-name"))))
                model_.columns.setSize(col_, n, std::clamp(*w, 0.0, kMaxColumnPoints));
            if (Hidden(a)) model_.columns.setHidden(col_, n, true);
            if (const auto s = a.get(kOdfTable, "default-cell-style-name"))
                columnStyles_.push_back({col_, col_ + n - 1, std::string(*s)});
            col_ = std::min(col_ + n, kSheetColumns);
        } else if (name == "table-row") {
            rowRepeat_ = Count(a, "number-rows-repeated");
            if (const auto h = styles_.rowHeight(std::string(a.value(kOdfTable, "style-name"))))
                model_.rows.setSize(row_, rowRepeat_, std::clamp(*h, 0.0, kMaxRowPoints));
            if (Hidden(a)) model_.rows.setHidden(row_, rowRepeat_, true);
            rowStyle_ = std::string(a.value(kOdfTable, "default-cell-style-name"));
            col_ = 0;
            cells_.clear();
        } else if (name == "table-cell" || name == "covered-table-cell") {
            cell_ = true;
            covered_ = name == "covered-table-cell";
            cellAttrs_ = a;
            text_ = RichText{};
            paragraphs_ = 0;
        }
    }

    void textElement(std::string_view name, const XmlAttributes& a) {
        if (name == "p" || name == "h") {
            if (paragraphs_++ > 0) append("\n");
            inParagraph_ = true;
        } else if (name == "span") {
            const Script s = styles_.textScript(std::string(a.value(kOdfText, "style-name")));
            scripts_.push_back(s != Script::None ? s : scripts_.empty() ? Script::None : scripts_.back());
        } else if (name == "s") {
            const long n = std::atol(std::string(a.value(kOdfText, "c")).c_str());
            append(std::string(static_cast<std::size_t>(std::clamp<long>(n, 1, 1000)), ' '));
        } else if (name == "tab") {
            append("\t");
        } else if (name == "line-break") {
            append("\n");
        }
    }

    void append(std::string_view chars) {
        const auto begin = static_cast<uint32_t>(text_.text.size());
        text_.text += chars;
        const Script s = scripts_.empty() ? Script::None : scripts_.back();
        if (s == Script::None) return;
        if (!text_.runs.empty() && text_.runs.back().end == begin && text_.runs.back().script == s)
            text_.runs.back().end = static_cast<uint32_t>(text_.text.size());
        else
            text_.runs.push_back({begin, static_cast<uint32_t>(text_.text.size()), s});
    }

    std::string styleAt(int32_t col) const {
        for (auto it = columnStyles_.rbegin(); it != columnStyles_.rend(); ++it)
            if (col >= it->first && col <= it->last) return it->name;
        return {};
    }

    void endCell() {
        cell_ = false;
        inParagraph_ = false;
        scripts_.clear();
        const int32_t repeat = std::min(Count(cellAttrs_, "number-columns-repeated"), kSheetColumns - col_);
        if (!covered_ && repeat > 0) {
            Cell c;
            c.col = col_;
            const std::string_view type = cellAttrs_.value(kOdfOffice, "value-type");
            if (text_.text.empty() && type == "string") text_.text = std::string(cellAttrs_.value(kOdfOffice, "string-value"));
            if (type == "float" || type == "percentage" || type == "currency" || type == "date" || type == "time") {
                c.kind = CellKind::Number;
                c.number = std::atof(std::string(cellAttrs_.value(kOdfOffice, "value")).c_str());
            } else if (type == "boolean") {
                c.kind = CellKind::Boolean;
                c.number = cellAttrs_.value(kOdfOffice, "boolean-value") == "true" ? 1 : 0;
            } else if (!type.empty() || !text_.text.empty()) {
                c.kind = CellKind::Text;
            }
            if (!text_.text.empty() && c.kind != CellKind::Empty) c.text = model_.addText(std::move(text_));
            // A cell without a style of its own takes its row's or column's,
            // but those alone do not make an empty cell part of the drawing:
            // a whole column with borders would be a million rows of them.
            std::string style(cellAttrs_.value(kOdfTable, "style-name"));
            if (style.empty() && c.kind != CellKind::Empty) style = !rowStyle_.empty() ? rowStyle_ : styleAt(col_);
            c.format = styles_.cellFormat(style, model_);
            const auto rowSpan = static_cast<int32_t>(std::clamp(cellAttrs_.number(kOdfTable, "number-rows-spanned", 1), 1L, long{kSheetRows}));
            const auto colSpan = static_cast<int32_t>(std::clamp(cellAttrs_.number(kOdfTable, "number-columns-spanned", 1), 1L, long{kSheetColumns}));
            cells_.push_back({c, repeat, rowSpan, colSpan});
        }
        col_ += repeat;
    }

    // The row's cells, once for each repetition of the row inside the range.
    void endRow() {
        int32_t first = row_, last = std::min(row_ + rowRepeat_, kSheetRows) - 1;
        if (const auto& range = collector_.options().range) {
            first = std::max(first, range->firstRow);
            last = std::min(last, range->lastRow);
        }
        bool draws = false;
        for (const RowCell& rc : cells_)
            draws = draws || rc.cell.kind != CellKind::Empty || collector_.drawsEmpty(rc.cell.format) ||
                    rc.rowSpan > 1 || rc.colSpan > 1;
        for (int32_t r = first; draws && r <= last; ++r) {
            for (const RowCell& rc : cells_) {
                Cell c = rc.cell;
                c.row = r;
                collector_.addRepeated(c, rc.repeat);
                if (rc.rowSpan > 1 || rc.colSpan > 1)
                    collector_.addMerge({r, c.col, std::min(r + rc.rowSpan - 1, kSheetRows - 1),
                                         std::min(c.col + rc.colSpan - 1, kSheetColumns - 1)});
            }
        }
        row_ = std::min(row_ + rowRepeat_, kSheetRows);
        cells_.clear();
    }

    struct ColumnStyle {
        int32_t first, last;
        std::string name;
    };

    OdsStyles& styles_;
    CellCollector& collector_;
    SheetModel& model_;
    SheetTest isTarget_;
    std::size_t size_;
    const ProgressFn& progress_;
    std::size_t lastProgress_ = 0;
    bool inStyles_ = false, inTarget_ = false;
    int annotation_ = 0;
    int32_t row_ = 0, col_ = 0, rowRepeat_ = 1;
    std::string rowStyle_;
    std::vector<ColumnStyle> columnStyles_;
    std::vector<RowCell> cells_;
    bool cell_ = false, covered_ = false, inParagraph_ = false;
    int paragraphs_ = 0;
    XmlAttributes cellAttrs_;
    RichText text_;
    std::vector<Script> scripts_;
    OdsShapeReader shapes_;
    bool inPageShapes_ = false;
};

}  // namespace

SheetModel ReadOdsSheet(const WorkbookPackage& package, const ReadOptions& options, const ProgressFn& progress) {
    SheetModel model;
    model.mergeBordersFromAnchor = true;
    model.rows.setDefault(12.8);     // 0.452 cm
    model.columns.setDefault(64.0);  // 2.258 cm
    model.formats.clear();
    OdsStyles styles;
    if (package.has("styles.xml")) {
        StylesPartReader r(styles);
        package.parse("styles.xml", r);
    }
    std::string active;
    if (package.has("settings.xml")) {
        ActiveTableReader a;
        package.parse("settings.xml", a);
        active = a.active;
    }
    const std::optional<std::string>& wanted = options.sheet;
    const bool byNumber = wanted && !wanted->empty() && wanted->size() < 6 &&
                          wanted->find_first_not_of("0123456789") == std::string::npos;
    const SheetTest isTarget = [&](std::size_t index, const std::string& name) {
        if (!wanted) return name == active || (index == 0 && active.empty());
        return name == *wanted || (byNumber && index + 1 == std::stoul(*wanted));
    };
    styles.cellFormat("", model);  // format 0: the default style
    CellCollector collector(model, options.collect, package.path());
    const XmlText content = package.readXml("content.xml");
    ContentReader reader(styles, collector, isTarget, content.size(), progress);
    try {
        ParseXml(content, reader);
    } catch (const XmlDamaged& e) {
        package.failPart("content.xml", std::string("damaged (") + e.what() + ")");
    } catch (const LimitReached& e) {
        package.failPart("content.xml", e.what + ", more than a workbook holds (damaged?)");
    }
    if (!reader.found) {
        if (!wanted && !reader.names.empty()) {  // an active sheet that is not there: take the first
            ReadOptions first = options;
            first.sheet = "1";
            return ReadOdsSheet(package, first, progress);
        }
        ChooseSheet(reader.names, 0, wanted, package);  // says which sheets there are
    }
    return model;
}

}  // namespace tavo::workbook
