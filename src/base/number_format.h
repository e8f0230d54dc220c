#pragma once

#include <cstddef>
#include <string>

namespace tavo {

// Numbers as the runtime's Format writes them ('%.<n>f' and '%.<n>e'), byte
// for byte, with a full stop as decimal mark. The runtime widens the double
// to its 80-bit extended type and reads off its decimal digits this way:
//
//  1. It keeps 21 significant digits, rounded half to even. For magnitudes
//     from 4 up to 2^126 these are the digits of the exact binary value;
//     outside that range the value is first scaled by a power of ten held to
//     96 bits (10^37k, correctly rounded, the product rounded half up to 96
//     bits), so digits past about the 28th can differ from the exact ones.
//  2. It rounds those 21 digits half away from zero at the requested place.
//     One quirk goes with it: a kept digit followed by 4, then nothing but 9s
//     down to the second-to-last of the 21 digits, and that one 8 or 9, is
//     rounded up as well.
//
// So a value prints as its exact binary expansion rounded half away from
// zero (0.125 -> "0.13", 2.675 -> "2.67", since the double 2.675 is a little
// under), except for differences beyond the 21st significant digit.

// Room that WriteFixed and WriteExponent may use: the runtime's short
// strings never exceed 255 characters.
constexpr std::size_t kMaxNumberText = 256;

// Format('%.<decimals>f', [value]). Decimals above 18 act as 18, below 0 as 0.
// A result that rounds to zero loses its minus sign ("0.000" for -0.0004).
// Only 21 significant digits are real, the rest are zeros: 1e100 with two
// decimals gives "10000000000000000159000...000.00". A result longer than
// 255 characters turns into two significant digits and a four-digit
// exponent: 1e300 gives "1.0E+0300". NaN gives "Nan", infinities "+Inf" and
// "-Inf".
std::string FormatFixed(double value, int decimals);

// Format('%.<digits>e', [value]): `digits` significant digits (2 to 17; fewer
// act as 2, more as 17), an upper-case E and a signed exponent of at least
// three digits: 1000 with 7 digits gives "1.000000E+003", -0.25 gives
// "-2.500000E-001", 0 and -0 give "0.000000E+000". NaN gives "Nan",
// infinities "+Inf" and "-Inf".
std::string FormatExponent(double value, int digits);

// The same texts, appended to `out`.
void AppendFixed(std::string& out, double value, int decimals);
void AppendExponent(std::string& out, double value, int digits);

// The same texts, written to `out`, which must have room for kMaxNumberText
// characters; no terminating NUL is written. Returns the length.
std::size_t WriteFixed(char* out, double value, int decimals);
std::size_t WriteExponent(char* out, double value, int digits);

}  // namespace tavo
