#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo::cli {

struct CsvRow {
    int line = 0;  // line on which the row starts, from 1
    std::vector<std::string> fields;
    char separator = ',';  // with ";" numbers may use a decimal comma
};

// Reads rows separated by `separator`: fields in double quotes may hold
// separators, line ends and doubled quotes; empty lines, lines starting
// with "#" and rows of empty cells are skipped. Bytes pass through
// unchanged, so Shift-JIS texts survive (their trail bytes are never a
// quote, a separator or a line end).
std::vector<CsvRow> ParseCsv(std::string_view text, char separator = ',');

// ";" when the first row has more semicolons than commas outside quotes, as
// spreadsheets write CSV where the comma is the decimal mark; else ",".
char DetectSeparator(std::string_view text);

// The rows of a file the commands read: the separator detected, and a
// header row (a first row whose kind `isKind` does not know and that holds
// no number) dropped.
std::vector<CsvRow> ParseRecordCsv(std::string_view text, const std::function<bool(std::string_view)>& isKind);

// One field, quoted when it must be.
std::string CsvField(std::string_view value);

}  // namespace tavo::cli
