#include "base/runtime_format.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/uint128.h"

namespace tavo {

// Digits are built in fixed char arrays and written into the caller's
// buffer of kMaxNumberText bytes; every walk is bounded by the counts the
// same function computes. They are digit runs, not C strings.
// NOLINTBEGIN(cppcoreguidelines-pro-bounds-pointer-arithmetic,cppcoreguidelines-pro-bounds-array-to-pointer-decay,bugprone-not-null-terminated-result)

namespace {

using U128 = Uint128;

// Significant digits the runtime keeps for its 80-bit extended type.
constexpr int kKeptDigits = 21;
// Its limits on the precision of '%.<n>f' and '%.<n>e'.
constexpr int kMaxDecimals = 18;
constexpr int kMinExponentDigits = 2;
constexpr int kMaxExponentDigits = 17;
// Its strings are short strings; a fixed text longer than this is written in
// exponent form instead.
constexpr int kMaxText = 255;

constexpr uint64_t kPow10[20] = {
    1ull,
    10ull,
    100ull,
    1000ull,
    10000ull,
    100000ull,
    1000000ull,
    10000000ull,
    100000000ull,
    1000000000ull,
    10000000000ull,
    100000000000ull,
    1000000000000ull,
    10000000000000ull,
    100000000000000ull,
    1000000000000000ull,
    10000000000000000ull,
    100000000000000000ull,
    1000000000000000000ull,
    10000000000000000000ull,
};

// 10^(37 k) for 10^-296 to 10^333, the scale factors a double can need, each
// as f * 2^exp2 with 2^95 <= f < 2^96, f the nearest integer (computed with
// exact rational arithmetic: f = round(10^(37 k) / 2^exp2)).
struct Power10 {
    uint32_t high;  // f / 2^64
    uint64_t low;   // f mod 2^64
    int exp2;
};
constexpr int kFirstPower10 = -296;
constexpr int kPower10Step = 37;
constexpr Power10 kPower10[] = {
    {0xD1476E2Cu, 0x07286FAA1AF5AF66u, -1079},  // 1e-296
    {0xC4CE17B3u, 0x99107C22CB550FB4u, -956},   // 1e-259
    {0xB9131798u, 0x99F6858428E2557Bu, -833},   // 1e-222
    {0xAE0B158Bu, 0x4738705E9624AB51u, -710},   // 1e-185
    {0xA3AB6658u, 0x0D5FDAF5C13E60D1u, -587},   // 1e-148
    {0x99EA0196u, 0x163FA42E504BCED2u, -464},   // 1e-111
    {0x90BD77F3u, 0x483BB9B9B1C6F22Bu, -341},   // 1e-74
    {0x881CEA14u, 0x545C75757E50D641u, -218},   // 1e-37
    {0x80000000u, 0x0000000000000000u, -95},    // 1e0
    {0xF0BDC21Au, 0xBB48DB201E86D400u, 27},     // 1e37
    {0xE264589Au, 0x4DCDAB14C696963Cu, 150},    // 1e74
    {0xD4E5E2CDu, 0xC1D1EA966C9E18ACu, 273},    // 1e111
    {0xC83553C5u, 0xC8965D3D6F928295u, 396},    // 1e148
    {0xBC4665B5u, 0x96706114873D5D9Fu, 519},    // 1e185
    {0xB10D8E14u, 0x56105DAD7425A83Fu, 642},    // 1e222
    {0xA67FF273u, 0xB84603568A892ABBu, 765},    // 1e259
    {0x9C935E00u, 0xD4B9D8D26ED1BF9Au, 888},    // 1e296
    {0x933E37A5u, 0x34CBAAE78E91B963u, 1011},   // 1e333
};

constexpr char kDigitPairs[] =
    "00010203040506070809"
    "10111213141516171819"
    "20212223242526272829"
    "30313233343536373839"
    "40414243444546474849"
    "50515253545556575859"
    "60616263646566676869"
    "70717273747576777879"
    "80818283848586878889"
    "90919293949596979899";

// Writes the `count` lowest decimal digits of v, zero-padded, at p.
inline void writeDigits(char* p, uint64_t v, int count) {
    char* q = p + count;
    while (count >= 2) {
        q -= 2;
        std::memcpy(q, kDigitPairs + 2 * (v % 100), 2);
        v /= 100;
        count -= 2;
    }
    if (count) *--q = char('0' + v % 10);
}

inline int digitCount(uint64_t v) {
    // floor(bits * log10(2)), then one correction step.
    const int bits = 64 - __builtin_clzll(v | 1);
    const int guess = (bits * 1233) >> 12;
    return guess + (v >= kPow10[guess] ? 1 : 0);
}

// The runtime's decimal digits of a finite nonzero value, after its rounding
// to 21 significant digits: 0.d[0]d[1]... x 10^point, d[0] nonzero.
struct Decimal {
    char digit[40];  // '0' to '9'
    int count;       // digits in use (trailing zeros may be among them)
    int point;
};

// Rounds `digit` to `keep` digits, half to even or half away from zero, the
// way the runtime does it, its quirk included (see the header). `count` is
// updated; returns 1 when the rounding added a digit in front ("99" -> "1"),
// else 0.
int roundDigits(char* digit, int& count, int keep, bool halfEven) {
    const int have = count;
    count = keep;
    char round = digit[keep];
    if (!halfEven && round == '4' && keep < have - 3 && digit[have - 2] >= '8') {
        int i = have - 3;
        while (i > keep && digit[i] == '9') --i;
        if (i == keep) round = '9';
    }
    if (round < '5') return 0;
    if (round == '5' && halfEven && (keep == 0 || ((digit[keep - 1] - '0') & 1) == 0)) {
        int i = keep + 1;
        while (i < have && digit[i] == '0') ++i;
        if (i == have) return 0;  // exactly half: stays even
    }
    for (int i = keep - 1; i >= 0; --i) {
        if (digit[i] != '9') {
            ++digit[i];
            count = i + 1;
            return 0;
        }
    }
    digit[0] = '1';
    count = 1;
    return 1;
}

// Decimal digits of |value| (finite, nonzero) as the runtime finds them.
void decompose(double value, Decimal& d) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = int(bits >> 52) & 0x7FF;
    const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);

    // value = m * 2^e2 with the top bit of m set: the extended's mantissa.
    uint64_t m;
    int e2;
    if (biased != 0) {
        m = (uint64_t(1) << 63) | (fraction << 11);
        e2 = biased - 1075 - 11;
    } else {
        const int shift = __builtin_clzll(fraction);
        m = fraction << shift;
        e2 = -1074 - shift;
    }

    // As a 96-bit number f * 2^e with f = m * 2^32. Unless e lies in
    // [-93, 30], scale by a power of ten 10^e10 so that it does.
    int e = e2 - 32;
    U128 f;
    int e10 = 0;
    if (e >= -93 && e <= 30) {
        f = U128(m) << 32;
    } else {
        // The runtime's estimate of the power needed, in double arithmetic,
        // moved up to the next multiple of 37.
        const int x = -93 - e;
        const double estimate = x * 0.301029995663981195213738894724493027;
        int k = int(estimate);
        if (x > 0 && estimate != k) ++k;
        const int offset = k - kFirstPower10;  // from -11 to 620 for doubles
        const int index = offset <= 0 ? 0 : (offset + kPower10Step - 1) / kPower10Step;
        const Power10& c = kPower10[index];
        e10 = kFirstPower10 + index * kPower10Step;
        // f = round_half_up(m * 2^32 * c / 2^96) = round_half_up(m * c / 2^64)
        const U128 low = U128(m) * c.low;
        const U128 high = U128(m) * c.high;
        const uint64_t lowWord = uint64_t(low);
        const uint64_t carry = lowWord + (uint64_t(1) << 63) < lowWord ? 1 : 0;
        f = high + (low >> 64) + carry;
        e += c.exp2 + 96;
    }

    // Integer part, every digit of it.
    U128 integer;
    U128 rest = 0;  // fraction bits below the point
    int restBits = 0;
    if (e >= 0) {
        integer = f << e;
    } else {
        restBits = -e;
        integer = f >> restBits;
        rest = f & ((U128(1) << restBits) - 1);
    }
    int n;
    if ((integer >> 64) == 0) {
        n = digitCount(uint64_t(integer));
        writeDigits(d.digit, uint64_t(integer), n);
    } else {
        const uint64_t high = uint64_t(integer / kPow10[19]);
        const uint64_t low = uint64_t(integer % kPow10[19]);
        const int highDigits = digitCount(high);
        writeDigits(d.digit, high, highDigits);
        writeDigits(d.digit + highDigits, low, 19);
        n = highDigits + 19;
    }
    d.point = n - e10;

    // Fraction digits up to 22 digits in all, then one sticky digit if
    // anything is left.
    if (rest != 0) {
        if (n < kKeptDigits + 1) {
            const int integerDigits = n;
            const U128 mask = (U128(1) << restBits) - 1;
            // rest * 10^t must fit in 128 bits: t <= (128 - restBits) * log10(2)
            const int maxStep = (128 - restBits) * 3 / 10 > 19 ? 19 : (128 - restBits) * 3 / 10;
            while (n < kKeptDigits + 1 && rest != 0) {
                const int step = kKeptDigits + 1 - n < maxStep ? kKeptDigits + 1 - n : maxStep;
                const U128 y = rest * kPow10[step];
                writeDigits(d.digit + n, uint64_t(y >> restBits), step);
                rest = y & mask;
                n += step;
            }
            if (rest == 0)  // the digits ended: the runtime has no zeros after the last
                while (n > integerDigits && d.digit[n - 1] == '0') --n;
        }
        if (rest != 0) {
            d.digit[kKeptDigits + 1] = '1';
            n = kKeptDigits + 2;
        }
    }
    d.count = n;
    if (n > kKeptDigits) d.point += roundDigits(d.digit, d.count, kKeptDigits, true);
}

// "Nan", "+Inf", "-Inf"; 0 for a finite value.
std::size_t writeSpecial(char* out, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    if (((bits >> 52) & 0x7FF) != 0x7FF) return 0;
    if ((bits & ((uint64_t(1) << 52) - 1)) != 0) {
        std::memcpy(out, "Nan", 3);
        return 3;
    }
    std::memcpy(out, bits >> 63 ? "-Inf" : "+Inf", 4);
    return 4;
}

// d.ddddE+xxx with `digits` significant digits and at least `exponentWidth`
// exponent digits. d.count == 0 stands for zero.
std::size_t writeExponentForm(char* out, bool minus, Decimal& d, int digits, int exponentWidth) {
    int exponent = 0;
    if (d.count > digits) d.point += roundDigits(d.digit, d.count, digits, false);
    if (d.count > 0)
        exponent = d.point - 1;
    else
        minus = false;  // the runtime drops the sign of a zero
    char* p = out;
    if (minus) *p++ = '-';
    *p++ = d.count > 0 ? d.digit[0] : '0';
    *p++ = '.';
    const int shown = d.count < digits ? d.count : digits;
    if (shown > 1) {
        std::memcpy(p, d.digit + 1, shown - 1);
        p += shown - 1;
    }
    const int pad = digits - (shown > 1 ? shown : 1);
    std::memset(p, '0', pad);
    p += pad;
    *p++ = 'E';
    *p++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    const int width = magnitude >= 1000 ? 4 : (exponentWidth > 3 ? exponentWidth : 3);
    writeDigits(p, uint64_t(magnitude), width);
    p += width;
    return std::size_t(p - out);
}

}  // namespace

std::size_t WriteFixed(char* out, double value, int decimals) {
    if (const std::size_t n = writeSpecial(out, value)) return n;
    const int frac = decimals < 0 ? 0 : (decimals > kMaxDecimals ? kMaxDecimals : decimals);
    bool minus = std::signbit(value);
    Decimal d{};
    if (value == 0) {
        d.count = 0;
        d.point = 1;
    } else {
        decompose(value, d);
    }

    int count = d.count;
    int point = d.point;
    const int cut = point + frac;
    if (cut < 0) {
        count = 0;
    } else if (cut < count) {
        // Rounding only happens for short texts, so d is still intact when
        // the text below turns out too long for the fixed form.
        point += roundDigits(d.digit, count, cut, false);
    }

    int before, beforeZeros;
    if (point <= 0 || count == 0) {
        before = 0;
        beforeZeros = 1;
    } else if (point > count) {
        before = count;
        beforeZeros = point - count;
    } else {
        before = point;
        beforeZeros = 0;
    }
    int afterZeros = point < 0 ? -point : 0;
    if (afterZeros > frac) afterZeros = frac;
    const int after = count - before;
    const int tailZeros = frac - after - afterZeros;
    const int length = (minus ? 1 : 0) + before + beforeZeros + (frac > 0 ? frac + 1 : 0);
    if (length > kMaxText) return writeExponentForm(out, minus, d, kMinExponentDigits, 4);

    if (count == 0) minus = false;  // the runtime drops the sign of a zero
    char* p = out;
    if (minus) *p++ = '-';
    std::memcpy(p, d.digit, before);
    p += before;
    std::memset(p, '0', beforeZeros);
    p += beforeZeros;
    if (frac > 0) {
        *p++ = '.';
        std::memset(p, '0', afterZeros);
        p += afterZeros;
        std::memcpy(p, d.digit + before, after);
        p += after;
        std::memset(p, '0', tailZeros);
        p += tailZeros;
    }
    return std::size_t(p - out);
}

std::size_t WriteExponent(char* out, double value, int digits) {
    if (const std::size_t n = writeSpecial(out, value)) return n;
    if (digits < kMinExponentDigits) digits = kMinExponentDigits;
    if (digits > kMaxExponentDigits) digits = kMaxExponentDigits;
    Decimal d{};
    if (value == 0)
        d.count = 0;
    else
        decompose(value, d);
    return writeExponentForm(out, std::signbit(value), d, digits, 3);
}

void AppendFixed(std::string& out, double value, int decimals) {
    char buffer[kMaxNumberText];
    out.append(buffer, WriteFixed(buffer, value, decimals));
}

void AppendExponent(std::string& out, double value, int digits) {
    char buffer[kMaxNumberText];
    out.append(buffer, WriteExponent(buffer, value, digits));
}

std::string FormatFixed(double value, int decimals) {
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

std::string FormatExponent(double value, int digits) {
    std::string text;
    AppendExponent(text, value, digits);
    return text;
}

// NOLINTEND(cppcoreguidelines-pro-bounds-pointer-arithmetic,cppcoreguidelines-pro-bounds-array-to-pointer-decay,bugprone-not-null-terminated-result)

}  // namespace tavo
