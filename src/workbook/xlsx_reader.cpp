// .xlsx sheets: cells, strings, sizes and merged areas through liborcus's
// import filter; styles, string scripts and sheet defaults, which the filter
// does not hand over, from the parts themselves (xlsx_book, xlsx_styles).
#include <orcus/exception.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>

#include <cmath>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "base/error.h"
#include "workbook/cell_address.h"
#include "workbook/ignored_sheet.h"
#include "workbook/workbook_package.h"
#include "workbook/workbook_reader.h"
#include "workbook/xlsx_book.h"
#include "workbook/xlsx_styles.h"

namespace tavo::workbook {

namespace {

namespace ss = orcus::spreadsheet;
namespace iface = orcus::spreadsheet::iface;

class SharedStrings : public iface::import_shared_strings {
public:
    SharedStrings(SheetModel& model, std::map<std::size_t, RichText> scripted)
        : model_(model), scripted_(std::move(scripted)) {}

    size_t append(std::string_view s) override { return push(std::string(s)); }
    size_t add(std::string_view s) override { return push(std::string(s)); }
    void set_segment_font(size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void append_segment(std::string_view s) override { segments_ += s; }
    size_t commit_segments() override { return push(std::move(segments_)); }

private:
    size_t push(std::string text) {
        segments_.clear();
        RichText t;
        const auto it = scripted_.find(model_.texts.size());
        if (it != scripted_.end() && it->second.text == text)
            t = std::move(it->second);  // the same string, with its raised and lowered runs
        else
            t.text = std::move(text);
        return model_.addText(std::move(t));
    }

    SheetModel& model_;
    std::map<std::size_t, RichText> scripted_;
    std::string segments_;
};

class GlobalSettings : public iface::import_global_settings {
public:
    explicit GlobalSettings(SheetModel& model) : model_(model) {}
    void set_origin_date(int year, int, int) override { model_.dateOrigin = year == 1904 ? 1462 : 0; }
    void set_default_formula_grammar(ss::formula_grammar_t g) override { grammar_ = g; }
    ss::formula_grammar_t get_default_formula_grammar() const override { return grammar_; }
    void set_character_set(orcus::character_set_t) override {}

private:
    SheetModel& model_;
    ss::formula_grammar_t grammar_ = ss::formula_grammar_t::xlsx;
};

class A1Resolver : public iface::import_reference_resolver {
public:
    ss::src_address_t resolve_address(std::string_view address) override {
        const auto a = ParseCellAddress(address.substr(address.rfind('!') == std::string_view::npos ? 0 : address.rfind('!') + 1));
        if (!a) throw orcus::invalid_arg_error("not a cell address: " + std::string(address));
        ss::src_address_t r{};
        r.row = a->first;
        r.column = a->second;
        return r;
    }
    ss::src_range_t resolve_range(std::string_view range) override {
        const auto r = ParseCellRange(range);
        if (!r) throw orcus::invalid_arg_error("not a cell range: " + std::string(range));
        ss::src_range_t out{};
        out.first.row = r->firstRow;
        out.first.column = r->firstCol;
        out.last.row = r->lastRow;
        out.last.column = r->lastCol;
        return out;
    }
};

class TargetSheet;

class Properties : public iface::import_sheet_properties {
public:
    explicit Properties(SheetModel& model) : model_(model) {}
    void set_column_width(ss::col_t col, double width, orcus::length_unit_t unit) override {
        model_.columns.setSize(col, 1, unit == orcus::length_unit_t::point ? width : ColumnWidthPoints(width));
    }
    void set_column_hidden(ss::col_t col, bool hidden) override { model_.columns.setHidden(col, 1, hidden); }
    void set_row_height(ss::row_t row, double height, orcus::length_unit_t) override {
        model_.rows.setSize(row, 1, height);
    }
    void set_row_hidden(ss::row_t row, bool hidden) override {
        if (hidden) model_.rows.setHidden(row, 1, true);
    }
    void set_merge_cell_range(const ss::range_t& r) override {
        model_.merges.push_back({r.first.row, r.first.column, r.last.row, r.last.column});
    }

private:
    SheetModel& model_;
};

uint64_t Key(int32_t row, int32_t col) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32) | static_cast<uint32_t>(col);
}

// Calls about one cell arrive one after another (value, format); the cell
// is complete when calls about another cell begin. Formula results come
// after all cells and go into the cells kept for them.
class TargetSheet : public iface::import_sheet, public iface::import_formula {
public:
    TargetSheet(CellCollector& collector, const XlsxSheetInfo& info, const ProgressFn& progress)
        : collector_(collector), properties_(collector.model()), lastRow_(info.lastRow), progress_(progress) {
        for (const auto& [row, col] : info.formulaCells) formulaCells_.insert(Key(row, col));
    }

    iface::import_sheet_properties* get_sheet_properties() override { return &properties_; }
    iface::import_formula* get_formula() override { return this; }

    void set_auto(ss::row_t row, ss::col_t col, std::string_view s) override {
        cell(row, col).kind = CellKind::Text;
        pending_.text = collector_.model().addText({std::string(s), {}});
    }
    void set_string(ss::row_t row, ss::col_t col, ss::string_id_t id) override {
        Cell& c = cell(row, col);
        c.kind = CellKind::Text;
        c.text = static_cast<uint32_t>(id);
    }
    void set_value(ss::row_t row, ss::col_t col, double value) override {
        Cell& c = cell(row, col);
        c.kind = CellKind::Number;
        c.number = value;
    }
    void set_bool(ss::row_t row, ss::col_t col, bool value) override {
        Cell& c = cell(row, col);
        c.kind = CellKind::Boolean;
        c.number = value ? 1 : 0;
    }
    void set_date_time(ss::row_t row, ss::col_t col, int, int, int, int, int, double) override { cell(row, col); }
    void set_format(ss::row_t row, ss::col_t col, size_t xf) override {
        cell(row, col).format = xf < collector_.model().formats.size() ? static_cast<uint32_t>(xf) : 0;
    }
    // Formats of whole rows and columns: like the host, which walks the
    // cells in use, the drawing takes only the cells' own formats.
    void set_format(ss::row_t, ss::col_t, ss::row_t, ss::col_t, size_t) override {}
    void fill_down_cells(ss::row_t, ss::col_t, ss::row_t) override {}
    ss::range_size_t get_sheet_size() const override { return {kSheetRows, kSheetColumns}; }

    // Formula cells: their last computed result is what the sheet shows.
    void set_position(ss::row_t row, ss::col_t col) override {
        flush();
        result_ = Cell{};
        result_.row = row;
        result_.col = col;
    }
    void set_formula(ss::formula_grammar_t, std::string_view) override {}
    void set_shared_formula_index(size_t) override {}
    void set_result_string(std::string_view value) override {
        result_.kind = CellKind::Text;
        result_.text = collector_.model().addText({std::string(value), {}});
    }
    void set_result_value(double value) override {
        result_.kind = CellKind::Number;
        result_.number = value;
    }
    void set_result_bool(bool value) override {
        result_.kind = CellKind::Boolean;
        result_.number = value ? 1 : 0;
    }
    void set_result_empty() override { result_.kind = CellKind::Empty; }
    void commit() override {
        std::vector<Cell>& cells = collector_.model().cells;
        if (kept_.empty())
            for (std::size_t i = 0; i < cells.size(); ++i) kept_.emplace(Key(cells[i].row, cells[i].col), i);
        const auto it = kept_.find(Key(result_.row, result_.col));
        if (it == kept_.end()) {  // a cell without a format: nothing was said about it before
            collector_.add(result_);
            return;
        }
        Cell& c = cells[it->second];
        c.kind = result_.kind;
        c.text = result_.text;
        c.number = result_.number;
    }

    void flush() {
        if (hasPending_) collector_.add(pending_, formulaCells_.count(Key(pending_.row, pending_.col)) > 0);
        hasPending_ = false;
    }

private:
    Cell& cell(ss::row_t row, ss::col_t col) {
        if (hasPending_ && pending_.row == row && pending_.col == col) return pending_;
        flush();
        if (progress_ && lastRow_ > 0 && row != lastProgressRow_ && row % 256 == 0) {
            lastProgressRow_ = row;
            progress_(std::min(1.0, static_cast<double>(row) / lastRow_));
        }
        pending_ = Cell{};
        pending_.row = row;
        pending_.col = col;
        hasPending_ = true;
        return pending_;
    }

    CellCollector& collector_;
    Properties properties_;
    std::unordered_set<uint64_t> formulaCells_;
    std::unordered_map<uint64_t, std::size_t> kept_;  // cell index by position, once results come
    Cell result_;
    Cell pending_;
    bool hasPending_ = false;
    int32_t lastRow_;
    int32_t lastProgressRow_ = -1;
    const ProgressFn& progress_;
};

class Factory : public iface::import_factory {
public:
    Factory(SheetModel& model, std::map<std::size_t, RichText> scripted, std::size_t target, TargetSheet& sheet)
        : strings_(model, std::move(scripted)), settings_(model), target_(target), sheet_(sheet) {}

    iface::import_global_settings* get_global_settings() override { return &settings_; }
    iface::import_shared_strings* get_shared_strings() override { return &strings_; }
    iface::import_styles* get_styles() override { return nullptr; }  // read from styles.xml instead
    iface::import_reference_resolver* get_reference_resolver(ss::formula_ref_context_t) override { return &resolver_; }
    iface::import_sheet* append_sheet(ss::sheet_t index, std::string_view name) override {
        names_.emplace_back(name);
        if (static_cast<std::size_t>(index) == target_) return &sheet_;
        ignored_.push_back(std::make_unique<IgnoredSheet>());
        return ignored_.back().get();
    }
    iface::import_sheet* get_sheet(std::string_view name) override {
        for (std::size_t i = 0; i < names_.size(); ++i)
            if (names_[i] == name) return get_sheet(static_cast<ss::sheet_t>(i));
        return nullptr;
    }
    iface::import_sheet* get_sheet(ss::sheet_t index) override {
        if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) return nullptr;
        if (static_cast<std::size_t>(index) == target_) return &sheet_;
        return ignored_.empty() ? nullptr : ignored_.front().get();
    }
    void finalize() override { sheet_.flush(); }

private:
    SharedStrings strings_;
    GlobalSettings settings_;
    A1Resolver resolver_;
    std::size_t target_;
    TargetSheet& sheet_;
    std::vector<std::string> names_;
    std::vector<std::unique_ptr<IgnoredSheet>> ignored_;
};

}  // namespace

SheetModel ReadXlsxSheet(const WorkbookPackage& package, const ReadOptions& options, const ProgressFn& progress) {
    SheetModel model;
    const XlsxBook book = ReadXlsxBook(package);
    const std::size_t target = ChooseSheet(book.sheetNames, book.activeSheet, options.sheet, package);
    model.name = book.sheetNames[target];
    if (!book.stylesPart.empty() && package.has(book.stylesPart)) {
        const std::vector<uint32_t> theme =
            book.themePart.empty() || !package.has(book.themePart) ? std::vector<uint32_t>()
                                                                    : ReadThemeColors(package.read(book.themePart));
        ReadXlsxStyles(package.read(book.stylesPart), theme, model);
    }
    XlsxSheetInfo info;
    if (!book.sheetParts[target].empty())
        info = ReadXlsxSheetInfo(WorkbookPackage::Text(package.readBytes(book.sheetParts[target])));
    model.rows.setDefault(info.rowPoints);
    model.columns.setDefault(info.columnPoints);
    std::map<std::size_t, RichText> scripted;
    if (options.scripts && !book.sharedStringsPart.empty() && package.has(book.sharedStringsPart))
        scripted = ReadXlsxStringScripts(package.read(book.sharedStringsPart));

    CellCollector collector(model, options.collect, package.path());
    TargetSheet sheet(collector, info, progress);
    Factory factory(model, std::move(scripted), target, sheet);
    orcus::orcus_xlsx filter(&factory);
    filter.read_stream(package.bytes());
    sheet.flush();
    return model;
}

}  // namespace tavo::workbook
