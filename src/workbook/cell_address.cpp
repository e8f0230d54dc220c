#include "workbook/cell_address.h"

#include <algorithm>

namespace tavo::workbook {

std::optional<std::pair<int32_t, int32_t>> ParseCellAddress(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && t[i] == '$') ++i;
    int64_t col = 0;
    const std::size_t lettersFrom = i;
    for (; i < t.size() && i - lettersFrom < 4; ++i) {
        char c = t[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') break;
        col = col * 26 + (c - 'A' + 1);
    }
    if (i == lettersFrom || col > kSheetColumns) return std::nullopt;
    if (i < t.size() && t[i] == '$') ++i;
    int64_t row = 0;
    const std::size_t digitsFrom = i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9' && i - digitsFrom < 8; ++i) row = row * 10 + (t[i] - '0');
    if (i == digitsFrom || i != t.size() || row < 1 || row > kSheetRows) return std::nullopt;
    return std::make_pair(static_cast<int32_t>(row - 1), static_cast<int32_t>(col - 1));
}

std::optional<CellRange> ParseCellRange(std::string_view text) {
    const std::size_t bang = text.rfind('!');
    if (bang != std::string_view::npos) text.remove_prefix(bang + 1);
    const std::size_t colon = text.find(':');
    const auto a = ParseCellAddress(text.substr(0, colon));
    const auto b = colon == std::string_view::npos ? a : ParseCellAddress(text.substr(colon + 1));
    if (!a || !b) return std::nullopt;
    return CellRange{std::min(a->first, b->first), std::min(a->second, b->second), std::max(a->first, b->first),
                     std::max(a->second, b->second)};
}

}  // namespace tavo::workbook

namespace tavo::workbook {

std::optional<std::string> RangeSheetName(std::string_view text) {
    const std::size_t bang = text.rfind('!');
    if (bang == std::string_view::npos) return std::nullopt;
    std::string_view name = text.substr(0, bang);
    if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') {
        std::string unquoted;
        for (std::size_t i = 1; i + 1 < name.size(); ++i) {
            unquoted += name[i];
            if (name[i] == '\'' && name[i + 1] == '\'') ++i;
        }
        return unquoted;
    }
    return std::string(name);
}

}  // namespace tavo::workbook
