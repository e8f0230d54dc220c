#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "workbook/sheet_model.h"
#include "workbook/workbook_package.h"

namespace tavo::workbook {

// What an .xlsx package says about its workbook, besides the cells: the
// sheets and their parts, the active sheet, the date system and the parts
// of the styles, shared strings and theme.
struct XlsxBook {
    std::vector<std::string> sheetNames;
    std::vector<std::string> sheetParts;
    std::size_t activeSheet = 0;
    bool date1904 = false;
    std::string stylesPart, sharedStringsPart, themePart;
};

XlsxBook ReadXlsxBook(const WorkbookPackage& package);

// What the sheet part says besides its cells: the defaults (sheetFormatPr),
// the used area (dimension), and which cells hold formulas: their results
// come only after all other cells, and must find their cell kept.
struct XlsxSheetInfo {
    double rowPoints = 15;
    double columnPoints = 48;
    int32_t lastRow = 0;  // from the dimension, for progress
    std::vector<std::pair<int32_t, int32_t>> formulaCells;  // row, column
};

XlsxSheetInfo ReadXlsxSheetInfo(std::string_view sheetXml);

// Shared strings with superscript or subscript runs, by their index; only
// those, so that plain workbooks cost nothing.
std::map<std::size_t, RichText> ReadXlsxStringScripts(std::string_view sharedStringsXml);

// Points of a column width given in characters of the default font, as the
// spreadsheet shows it in pixels (7 per character plus padding).
double ColumnWidthPoints(double characters);

}  // namespace tavo::workbook
