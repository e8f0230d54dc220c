#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavo::workbook {

// The text a spreadsheet shows for a number under a format code, in UTF-8:
// sections for positive, negative and zero values and conditions such as
// [>=100]; digit placeholders 0 # ? with grouping, scaling commas, percent,
// exponents and fractions; literal texts, escapes and [$¥-411] currency
// texts; dates and times (y m d h s, AM/PM, elapsed [h], month and weekday
// names, the Japanese eras g and e, weekdays aaa). Colours and locale tags
// are left out. An empty code or "General" gives the general format.
// `dateOrigin` is the serial day 0 as days since 1899-12-30 (0 for the
// usual date system, 1462 for the 1904 one).
std::string FormatNumber(double value, std::string_view code, int32_t dateOrigin = 0);

// The code of a built-in format number of an .xlsx file, as a Japanese
// spreadsheet shows it; "" (General) for a number without one.
std::string_view BuiltinNumberFormat(uint32_t id);

}  // namespace tavo::workbook
