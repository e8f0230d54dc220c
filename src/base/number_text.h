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

// The runtime's StrToFloat reading of a decimal fraction: blanks and control
// characters around it are ignored; then an optional sign, digits with at
// most one full stop among them (".5" and "5." are fine, "." is not), and
// optionally E or e, an optional sign and at least one digit. Anything else
// gives nullopt: "", "abc", "1,5", "1.2.3", "1e", "1e+", "$10", "inf", "nan".
// The value is the double nearest to the decimal, ties to even. One too large
// for a double ("1e400") gives nullopt; one too small for the smallest
// subnormal reads as zero with its sign ("1e-400" is 0).
std::optional<double> parseFloat(std::string_view text);

}  // namespace tavo
