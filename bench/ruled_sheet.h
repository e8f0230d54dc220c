#pragma once

#include <xlsxwriter.h>

#include <string>

// A sheet of rows x columns cells, each with all four borders and a text of
// its own ("品3-7"), written with libxlsxwriter.
inline void WriteRuledSheet(const std::string& path, int rows, int columns) {
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* box = workbook_add_format(wb);
    format_set_border(box, LXW_BORDER_THIN);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            worksheet_write_string(ws, r, c, ("品" + std::to_string(r) + "-" + std::to_string(c)).c_str(), box);
    workbook_close(wb);
}
