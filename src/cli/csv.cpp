#include "cli/csv.h"

#include <algorithm>

#include "base/number_text.h"

namespace tavo::cli {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

void skipLineEnd(std::string_view text, std::size_t& p, int& line) {
    if (p < text.size() && text[p] == '\r') ++p;
    if (p < text.size() && text[p] == '\n') ++p;
    ++line;
}

bool allEmpty(const CsvRow& row) {
    return std::all_of(row.fields.begin(), row.fields.end(), [](const std::string& f) { return f.empty(); });
}

bool holdsNumber(const CsvRow& row) {
    return std::any_of(row.fields.begin(), row.fields.end(),
                       [](const std::string& f) { return parseFloat(f).has_value(); });
}

}  // namespace

std::vector<CsvRow> ParseCsv(std::string_view text, char separator) {
    std::vector<CsvRow> rows;
    std::size_t p = 0;
    int line = 1;
    while (p < text.size()) {
        if (isLineEnd(text[p])) {
            skipLineEnd(text, p, line);
            continue;
        }
        if (text[p] == '#') {
            while (p < text.size() && !isLineEnd(text[p])) ++p;
            continue;
        }
        CsvRow row;
        row.line = line;
        row.separator = separator;
        for (;;) {
            std::string field;
            if (p < text.size() && text[p] == '"') {
                ++p;
                while (p < text.size()) {
                    if (text[p] == '"') {
                        if (p + 1 < text.size() && text[p + 1] == '"') {
                            field += '"';
                            p += 2;
                            continue;
                        }
                        ++p;
                        break;
                    }
                    if (text[p] == '\n') ++line;
                    field += text[p++];
                }
            }
            while (p < text.size() && text[p] != separator && !isLineEnd(text[p])) field += text[p++];
            row.fields.push_back(std::move(field));
            if (p < text.size() && text[p] == separator) {
                ++p;
                continue;
            }
            break;
        }
        if (p < text.size()) skipLineEnd(text, p, line);
        if (!allEmpty(row)) rows.push_back(std::move(row));
    }
    return rows;
}

char DetectSeparator(std::string_view text) {
    std::size_t p = 0;
    while (p < text.size() && (text[p] == '#' || isLineEnd(text[p]))) {
        if (text[p] == '#')
            while (p < text.size() && !isLineEnd(text[p])) ++p;
        else
            ++p;
    }
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (; p < text.size() && (quoted || !isLineEnd(text[p])); ++p) {
        if (text[p] == '"') quoted = !quoted;
        if (quoted) continue;
        commas += text[p] == ',';
        semicolons += text[p] == ';';
    }
    return semicolons > commas ? ';' : ',';
}

std::vector<CsvRow> ParseRecordCsv(std::string_view text, const std::function<bool(std::string_view)>& isKind) {
    std::vector<CsvRow> rows = ParseCsv(text, DetectSeparator(text));
    if (!rows.empty() && !isKind(rows.front().fields[0]) && !holdsNumber(rows.front())) rows.erase(rows.begin());
    return rows;
}

std::string CsvField(std::string_view value) {
    if (value.find_first_of(",;\"\r\n") == std::string_view::npos && (value.empty() || value.front() != '#'))
        return std::string(value);
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace tavo::cli
