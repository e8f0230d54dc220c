#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavo::cli {

struct CsvRow {
    int line = 0;  // line on which the row starts, from 1
    std::vector<std::string> fields;
};

// Reads comma-separated rows: fields in double quotes may hold commas, line
// ends and doubled quotes; empty lines and lines starting with "#" are
// skipped. Bytes pass through unchanged, so Shift-JIS texts survive (their
// trail bytes are never a quote, a comma or a line end).
std::vector<CsvRow> ParseCsv(std::string_view text);

// One field, quoted when it must be.
std::string CsvField(std::string_view value);

}  // namespace tavo::cli
