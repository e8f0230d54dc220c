#include "workbook/workbook_limits.h"

namespace tavo::workbook {

std::string LimitText(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

}  // namespace tavo::workbook
