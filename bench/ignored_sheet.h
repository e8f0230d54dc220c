#pragma once

#include <orcus/spreadsheet/import_interface.hpp>

#include "workbook/cell_address.h"  // the sheet's size

namespace tavo::workbook {

// A sheet liborcus's import filter reads for nothing: what it says is
// dropped, so that the filter's own parsing can be timed.
class IgnoredSheet : public orcus::spreadsheet::iface::import_sheet {
    using row_t = orcus::spreadsheet::row_t;
    using col_t = orcus::spreadsheet::col_t;

public:
    void set_auto(row_t, col_t, std::string_view) override {}
    void set_string(row_t, col_t, orcus::spreadsheet::string_id_t) override {}
    void set_value(row_t, col_t, double) override {}
    void set_bool(row_t, col_t, bool) override {}
    void set_date_time(row_t, col_t, int, int, int, int, int, double) override {}
    void set_format(row_t, col_t, size_t) override {}
    void set_format(row_t, col_t, row_t, col_t, size_t) override {}
    void fill_down_cells(row_t, col_t, row_t) override {}
    orcus::spreadsheet::range_size_t get_sheet_size() const override { return {kSheetRows, kSheetColumns}; }
};

}  // namespace tavo::workbook
