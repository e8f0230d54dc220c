#pragma once

#include <cstddef>
#include <string>

namespace tavo {

// Numbers as the runtime's Format writes them ('%.<n>f' and '%.<n>e'), byte
// for byte, with a full stop as decimal mark. Free Pascal's runtime, in its
// compatibility mode, is the reference (checked on some 19 million values). It
// widens the double to its 80-bit extended type and finds its digits thus:
//
//  1. It takes 21 significant digits, rounded half to even. From 4 up to
//     2^126 these are the digits of the exact binary value. Outside that
//     range the value is first scaled by 10^(37k), held to 96 bits, and the
//     product is rounded to 96 bits, so a value within about 1e-28 (relative)
//     of a tie at the 21st digit may round either way. A rounding carry drops
//     the zeros it leaves at the end; a value with fewer digits keeps just its
//     own (47673044992 has 11).
//  2. It rounds those digits half away from zero at the requested place,
//     with one quirk: if the first dropped digit is 4, the dropped digits
//     after it up to the third-to-last are all 9 (there must be at least
//     one), and the second-to-last is 8 or 9, it rounds up as well.
//
// So 0.125 gives "0.13" where C's printf gives "0.12", and 2.675 gives "2.67"
// because the double is a little under 2.675. The quirk rounds up values a
// little under a tie, such as the double nearest 105.10485 (1.051049E+002,
// C gives 1.051048E+02), but also 47673044992 (4.767305E+010, where C gives
// 4.767304E+10).

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
