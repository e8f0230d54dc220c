#include "base/number_text.h"

#include <charconv>
#include <system_error>

namespace tavo {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<int32_t> parseInt32(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;

    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    const int base = hex ? 16 : 10;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hex ? hexValue(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return std::nullopt;
        value = value * base + static_cast<uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    const uint32_t bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

std::optional<double> parseFloat(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);

    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;

    // Mantissa; its decimal magnitude is kept in case the value is out of range.
    bool point = false;
    bool nonzero = false;
    std::size_t digits = 0;
    long magnitude = 0;  // value < 10^magnitude, >= 10^(magnitude - 1) for a nonzero mantissa
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            ++digits;
            if (c != '0') nonzero = true;
            if (!point && nonzero) ++magnitude;
            if (point && !nonzero) --magnitude;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;

    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        long exponent = 0;
        std::size_t exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i, ++exponentDigits)
            if (exponent < 100000000) exponent = exponent * 10 + (text[i] - '0');
        if (exponentDigits == 0) return std::nullopt;
        magnitude += negativeExponent ? -exponent : exponent;
    }
    if (i != text.size()) return std::nullopt;

    double value = 0;
    const auto result =
        std::from_chars(text.data() + start, text.data() + text.size(), value, std::chars_format::general);
    if (result.ptr != text.data() + text.size()) return std::nullopt;
    if (result.ec == std::errc::result_out_of_range) {
        if (magnitude > 0) return std::nullopt;  // too large
        value = 0;                               // too small: rounds to zero
    } else if (result.ec != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace tavo
