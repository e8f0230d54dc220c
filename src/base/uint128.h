#pragma once

#include <cstdint>

namespace tavo {

// An unsigned 128-bit integer for compilers without one (32-bit targets):
// the operations the number forms need, with the builtin type's results.
class PortableUint128 {
public:
    constexpr PortableUint128(uint64_t value = 0) : high_(0), low_(value) {}  // NOLINT(google-explicit-constructor)
    constexpr PortableUint128(uint64_t high, uint64_t low) : high_(high), low_(low) {}

    constexpr explicit operator uint64_t() const { return low_; }
    constexpr uint64_t high() const { return high_; }

    friend constexpr bool operator==(PortableUint128 a, PortableUint128 b) {
        return a.high_ == b.high_ && a.low_ == b.low_;
    }
    friend constexpr bool operator!=(PortableUint128 a, PortableUint128 b) { return !(a == b); }
    friend constexpr bool operator<(PortableUint128 a, PortableUint128 b) {
        return a.high_ != b.high_ ? a.high_ < b.high_ : a.low_ < b.low_;
    }

    friend constexpr PortableUint128 operator+(PortableUint128 a, PortableUint128 b) {
        const uint64_t low = a.low_ + b.low_;
        return {a.high_ + b.high_ + (low < a.low_ ? 1 : 0), low};
    }
    friend constexpr PortableUint128 operator-(PortableUint128 a, PortableUint128 b) {
        return {a.high_ - b.high_ - (a.low_ < b.low_ ? 1 : 0), a.low_ - b.low_};
    }
    friend constexpr PortableUint128 operator&(PortableUint128 a, PortableUint128 b) {
        return {a.high_ & b.high_, a.low_ & b.low_};
    }
    friend constexpr PortableUint128 operator<<(PortableUint128 a, int n) {
        if (n == 0) return a;
        if (n >= 64) return {a.low_ << (n - 64), 0};
        return {(a.high_ << n) | (a.low_ >> (64 - n)), a.low_ << n};
    }
    friend constexpr PortableUint128 operator>>(PortableUint128 a, int n) {
        if (n == 0) return a;
        if (n >= 64) return {0, a.high_ >> (n - 64)};
        return {a.high_ >> n, (a.low_ >> n) | (a.high_ << (64 - n))};
    }

    // The low 128 bits of the product.
    friend constexpr PortableUint128 operator*(PortableUint128 a, uint64_t b) {
        const PortableUint128 low = multiply(a.low_, b);
        return {low.high_ + a.high_ * b, low.low_};
    }

    // Quotient and remainder by a 64-bit divisor, bit by bit (rare: only
    // numbers of more than 19 integer digits need it).
    friend constexpr PortableUint128 operator/(PortableUint128 a, uint64_t b) { return divide(a, b, nullptr); }
    friend constexpr PortableUint128 operator%(PortableUint128 a, uint64_t b) {
        uint64_t remainder = 0;
        divide(a, b, &remainder);
        return remainder;
    }

private:
    static constexpr PortableUint128 multiply(uint64_t a, uint64_t b) {
        const uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
        const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
        return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xFFFFFFFFu)};
    }

    static constexpr PortableUint128 divide(PortableUint128 a, uint64_t b, uint64_t* remainder) {
        PortableUint128 quotient;
        PortableUint128 rest;
        for (int bit = 127; bit >= 0; --bit) {
            rest = (rest << 1) + ((a >> bit).low_ & 1);
            quotient = quotient << 1;
            if (!(rest < PortableUint128(b))) {
                rest = rest - b;
                quotient.low_ |= 1;
            }
        }
        if (remainder) *remainder = rest.low_;
        return quotient;
    }

    uint64_t high_;
    uint64_t low_;
};

// The builtin type where the compiler has one (64-bit targets).
#if defined(__SIZEOF_INT128__)
using Uint128 = unsigned __int128;
#else
using Uint128 = PortableUint128;
#endif

}  // namespace tavo
