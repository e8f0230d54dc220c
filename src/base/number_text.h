#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavo {

// The runtime's integer reading: optional leading spaces, optional sign,
// then decimal digits, or hexadecimal digits after "$" or "0x"/"0X", and
// nothing after the digits. Decimal values must fit in 32 signed bits;
// hexadecimal ones may use all 32 bits ("$FFFFFFFF" is -1).
std::optional<int32_t> parseInt32(std::string_view text);

inline int32_t parseInt32Or(std::string_view text, int32_t fallback) {
    return parseInt32(text).value_or(fallback);
}

std::optional<double> parseFloat(std::string_view text);  // TEMP

}  // namespace tavo
