#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "workbook/sheet_model.h"
#include "workbook/workbook_package.h"

namespace tavo::workbook {

// The colours of an .xlsx theme part in the order cells refer to them
// (0 light 1, 1 dark 1, 2 light 2, 3 dark 2, 4..9 accents, 10 and 11 links).
std::vector<uint32_t> ReadThemeColors(const WorkbookPackage& package, const std::string& part);

// The cell formats of styles.xml: model.formats[i] becomes cell format
// (xf) i, with fonts, fills, borders, alignment and number formats
// resolved; indexed, theme and tinted colours become RGB.
void ReadXlsxStyles(const WorkbookPackage& package, const std::string& part, const std::vector<uint32_t>& theme,
                    SheetModel& model);

// A colour with a tint from -1 (darker) to 1 (lighter), as the format
// describes tints: the lightness in HLS space moves toward black or white.
uint32_t Tinted(uint32_t rgb, double tint);

}  // namespace tavo::workbook
