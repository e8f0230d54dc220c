// .xlsx sheets read from the package's parts with liborcus's SAX parser:
// the workbook, styles, shared strings, the sheet and its drawing.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "base/error.h"
#include "workbook/cell_address.h"
#include "workbook/cell_collector.h"
#include "workbook/cell_text.h"
#include "workbook/workbook_package.h"
#include "workbook/workbook_reader.h"
#include "workbook/xlsx_book.h"
#include "workbook/xlsx_drawing.h"
#include "workbook/xlsx_styles.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

namespace {

using xmlns::kSpreadsheetMl;

double Number(std::string_view text) {
    const double v = std::atof(std::string(text).c_str());
    return std::isfinite(v) ? v : 0;
}

// Sizes as the spreadsheet allows them, whatever a damaged file says.
double RowPoints(std::string_view text) { return std::clamp(Number(text), 0.0, kMaxRowPoints); }
double ColumnPoints(std::string_view characters) {
    return std::clamp(ColumnWidthPoints(std::clamp(Number(characters), 0.0, 255.0)), 0.0, kMaxColumnPoints);
}

int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

// An ISO 8601 date and time ("2024-03-05", "2024-03-05T10:30:00Z",
// "10:30:00") as days since 1899-12-30 and the fraction of the day.
std::optional<double> IsoDateDays(std::string_view t) {
    int v[6] = {1899, 12, 30, 0, 0, 0};
    double seconds = 0;
    std::size_t i = 0;
    const auto number = [&](int& out, std::size_t digits) {
        if (i + digits > t.size()) return false;
        int n = 0;
        for (std::size_t k = 0; k < digits; ++k) {
            const char c = t[i + k];
            if (c < '0' || c > '9') return false;
            n = n * 10 + (c - '0');
        }
        out = n;
        i += digits;
        return true;
    };
    const bool hasDate = t.size() >= 10 && t[4] == '-';
    if (hasDate) {
        if (!number(v[0], 4) || t[i++] != '-' || !number(v[1], 2) || t[i++] != '-' || !number(v[2], 2)) return std::nullopt;
        if (i < t.size() && (t[i] == 'T' || t[i] == ' ')) ++i;
    }
    if (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        if (!number(v[3], 2) || i >= t.size() || t[i++] != ':' || !number(v[4], 2)) return std::nullopt;
        if (i < t.size() && t[i] == ':') {
            ++i;
            const std::string rest(t.substr(i));
            char* end = nullptr;
            seconds = std::strtod(rest.c_str(), &end);
            i += static_cast<std::size_t>(end - rest.c_str());
        }
    }
    if (v[1] < 1 || v[1] > 12 || v[2] < 1 || v[2] > 31) return std::nullopt;
    const int64_t days = DaysFromCivil(v[0], v[1], v[2]) - DaysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (v[3] * 3600 + v[4] * 60 + seconds) / 86400;
}

// The worksheet part: sizes, hidden rows and columns, cells, merged areas
// and the relationship of its drawing.
class SheetReader : public XmlHandler {
public:
    SheetReader(CellCollector& collector, std::size_t sharedCount, const ProgressFn& progress, std::size_t partSize)
        : collector_(collector), model_(collector.model()), sharedCount_(sharedCount), progress_(progress),
          partSize_(partSize) {}

    std::string drawingId;
    // The cell read last, for a message about damage after it.
    std::optional<std::pair<int32_t, int32_t>> lastCell() const {
        if (row_ < 0 || col_ < 0) return std::nullopt;
        return std::make_pair(row_, col_);
    }

    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t offset) override {
        if (ns == xmlns::kMarkupCompatibility) {
            if (name == "Fallback") ++fallback_;  // a Choice came first and said the same
            return;
        }
        if (ns != kSpreadsheetMl || fallback_ > 0) return;
        if (inCell_) {
            cellElement(name, a);
            return;
        }
        if (name == "c") {
            startCell(a);
        } else if (name == "row") {
            startRow(a, offset);
        } else if (name == "col") {
            const long first = std::clamp(a.number("", "min", 1), 1L, long{kSheetColumns});
            const long last = std::clamp(a.number("", "max", first), first, long{kSheetColumns});
            const auto count = static_cast<int32_t>(last - first + 1);
            if (const auto w = a.get("", "width"))
                model_.columns.setSize(static_cast<int32_t>(first - 1), count, ColumnPoints(*w));
            if (a.flag("", "hidden")) model_.columns.setHidden(static_cast<int32_t>(first - 1), count, true);
        } else if (name == "mergeCell") {
            if (const auto r = ParseCellRange(a.value("", "ref"))) collector_.addMerge(*r);
        } else if (name == "sheetFormatPr") {
            if (const auto h = a.get("", "defaultRowHeight")) model_.rows.setDefault(RowPoints(*h));
            if (const auto w = a.get("", "defaultColWidth"))
                model_.columns.setDefault(ColumnPoints(*w));
            else if (const auto b = a.get("", "baseColWidth"))  // padded, then up to a multiple of 8 pixels
                model_.columns.setDefault(std::min(std::ceil((Number(*b) * 7 + 5) / 8) * 8 * 0.75, kMaxColumnPoints));
        } else if (name == "drawing") {
            drawingId = std::string(a.value(xmlns::kRelationships, "id"));
        } else if (name == "control" || name == "oleObject") {
            ++model_.notDrawn.controls;
        } else if (name == "picture") {  // the sheet's background
            ++model_.notDrawn.pictures;
        }
    }

    void end(std::string_view ns, std::string_view name) override {
        if (ns == xmlns::kMarkupCompatibility && name == "Fallback" && fallback_ > 0) --fallback_;
        if (ns != kSpreadsheetMl || fallback_ > 0 || !inCell_) return;
        if (name == "c") {
            endCell();
        } else if (name == "v") {
            inValue_ = false;
        } else if (name == "is") {
            inInline_ = false;
            inline_ = inlineReader_.take();
        } else if (inInline_) {
            inlineReader_.end(name);
        }
    }

    void text(std::string_view chars) override {
        if (inValue_) value_ += chars;
        else if (inInline_) inlineReader_.text(chars);
        if (value_.size() > kMaxTextBytes) CheckLimit(value_.size(), kMaxTextBytes, "bytes in a cell's value");
    }

private:
    void startRow(const XmlAttributes& a, std::size_t offset) {
        row_ = static_cast<int32_t>(std::clamp(a.number("", "r", row_ + 2), 1L, long{kSheetRows})) - 1;
        col_ = -1;
        if (const auto h = a.get("", "ht")) model_.rows.setSize(row_, 1, RowPoints(*h));
        if (a.flag("", "hidden")) model_.rows.setHidden(row_, 1, true);
        if (progress_ && offset - lastProgress_ > (1u << 20)) {
            lastProgress_ = offset;
            progress_(std::min(1.0, static_cast<double>(offset) / static_cast<double>(partSize_)));
        }
    }

    void startCell(const XmlAttributes& a) {
        inCell_ = true;
        cell_ = Cell{};
        if (const auto at = ParseCellAddress(a.value("", "r"))) {
            row_ = std::max(row_, 0);
            cell_.row = at->first;
            cell_.col = at->second;
        } else {
            cell_.row = std::max(row_, 0);
            cell_.col = std::min(col_ + 1, kSheetColumns - 1);
        }
        row_ = cell_.row;
        col_ = cell_.col;
        const long style = a.number("", "s");
        cell_.format = style > 0 && static_cast<std::size_t>(style) < model_.formats.size() ? static_cast<uint32_t>(style) : 0;
        type_ = std::string(a.value("", "t"));
        value_.clear();
        hasInline_ = false;
    }

    void cellElement(std::string_view name, const XmlAttributes& a) {
        if (name == "v") {
            inValue_ = true;
        } else if (name == "is") {
            inInline_ = hasInline_ = true;
        } else if (inInline_) {
            inlineReader_.start(name, a);
        }
    }

    void endCell() {
        inCell_ = inValue_ = inInline_ = false;
        if (!collector_.wants(cell_.row, cell_.col)) return;  // outside the range: not even its text is kept
        if (type_ == "inlineStr" || (hasInline_ && type_.empty())) {
            if (!inline_.text.empty()) setText(model_.addText(std::move(inline_)));
        } else if (type_ == "s") {
            char* end = nullptr;
            const unsigned long i = std::strtoul(value_.c_str(), &end, 10);
            if (end != value_.c_str() && i < sharedCount_) setText(static_cast<uint32_t>(i));
        } else if (type_ == "str" || type_ == "e") {
            if (!value_.empty()) setText(model_.addText({UnescapeOoxml(value_), {}}));
        } else if (type_ == "b") {
            if (!value_.empty()) {
                cell_.kind = CellKind::Boolean;
                cell_.number = XmlFlag(value_) ? 1 : 0;
            }
        } else if (type_ == "d") {
            if (const auto days = IsoDateDays(value_)) {
                cell_.kind = CellKind::Number;
                cell_.number = *days - model_.dateOrigin;
            } else if (!value_.empty()) {
                setText(model_.addText({value_, {}}));
            }
        } else if (!value_.empty()) {
            char* end = nullptr;
            const double v = std::strtod(value_.c_str(), &end);
            if (end != value_.c_str() && std::isfinite(v)) {
                cell_.kind = CellKind::Number;
                cell_.number = v;
            } else {
                setText(model_.addText({value_, {}}));
            }
        }
        collector_.add(cell_);
    }

    void setText(uint32_t index) {
        cell_.kind = CellKind::Text;
        cell_.text = index;
    }

    CellCollector& collector_;
    SheetModel& model_;
    std::size_t sharedCount_;
    const ProgressFn& progress_;
    std::size_t partSize_, lastProgress_ = 0;
    int fallback_ = 0;
    int32_t row_ = -1, col_ = -1;
    bool inCell_ = false, inValue_ = false, inInline_ = false, hasInline_ = false;
    Cell cell_;
    std::string type_, value_;
    RichTextReader inlineReader_;
    RichText inline_;
};

}  // namespace

SheetModel ReadXlsxSheet(const WorkbookPackage& package, const ReadOptions& options, const ProgressFn& progress) {
    SheetModel model;
    const XlsxBook book = ReadXlsxBook(package);
    const std::size_t target = ChooseSheet(book.sheetNames, book.activeSheet, options.sheet, package);
    model.name = book.sheetNames[target];
    model.dateOrigin = book.date1904 ? 1462 : 0;
    std::vector<uint32_t> theme;
    if (!book.themePart.empty() && package.has(book.themePart)) theme = ReadThemeColors(package, book.themePart);
    if (!book.stylesPart.empty() && package.has(book.stylesPart)) ReadXlsxStyles(package, book.stylesPart, theme, model);
    model.texts = ReadXlsxSharedStrings(package, book.sharedStringsPart);
    const std::string& part = book.sheetParts[target];
    if (part.empty() || !package.has(part))
        package.fail("has no part for sheet \"" + model.name + "\" (damaged?)");

    CellCollector collector(model, options.collect, package.path());
    const XmlText text = package.readXml(part);
    SheetReader reader(collector, model.texts.size(), progress, text.size());
    try {
        ParseXml(text, reader);
    } catch (const XmlDamaged& e) {
        const auto cell = reader.lastCell();
        package.failPart(part, (cell ? "after cell " + CellName(cell->first, cell->second) + ": " : std::string()) +
                                   "damaged (" + e.what() + ")");
    } catch (const LimitReached& e) {
        package.failPart(part, e.what + ", more than a workbook holds (damaged?)");
    }
    if (!reader.drawingId.empty()) {
        const auto rels = ReadRelationships(package, part);
        const auto it = rels.find(reader.drawingId);
        if (it != rels.end() && !it->second.external && package.has(it->second.part))
            ReadXlsxDrawing(package, it->second.part, theme, model);
    }
    return model;
}

}  // namespace tavo::workbook
