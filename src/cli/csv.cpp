#include "cli/csv.h"

namespace tavo::cli {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

void skipLineEnd(std::string_view text, std::size_t& p, int& line) {
    if (p < text.size() && text[p] == '\r') ++p;
    if (p < text.size() && text[p] == '\n') ++p;
    ++line;
}

}  // namespace

std::vector<CsvRow> ParseCsv(std::string_view text) {
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
            while (p < text.size() && text[p] != ',' && !isLineEnd(text[p])) field += text[p++];
            row.fields.push_back(std::move(field));
            if (p < text.size() && text[p] == ',') {
                ++p;
                continue;
            }
            break;
        }
        if (p < text.size()) skipLineEnd(text, p, line);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string CsvField(std::string_view value) {
    if (value.find_first_of(",\"\r\n") == std::string_view::npos && (value.empty() || value.front() != '#'))
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
