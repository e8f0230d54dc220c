#include "workbook/sheet_number_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "workbook/format_code.h"

namespace tavo::workbook {

using namespace format;

namespace {

struct Digits {
    std::string integer;   // no leading zeros; empty for values below 1
    std::string fraction;  // exactly `decimals` digits
};

Digits DecimalDigits(double x, int decimals) {
    Digits d;
    d.fraction.assign(static_cast<std::size_t>(decimals), '0');
    if (!(x > 0) || !std::isfinite(x)) return d;
    std::array<char, 40> buf{};
    std::snprintf(buf.data(), buf.size(), "%.14e", x);
    std::string sig;
    sig += buf[0];
    sig.append(buf.data() + 2, 14);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): after "d."
    const int exponent = std::atoi(buf.data() + 17);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): after "e"
    const int intCount = exponent + 1;                // digits before the point
    const int keep = intCount + decimals;             // significant digits kept
    if (keep < 0) return d;
    std::string kept = sig.substr(0, static_cast<std::size_t>(std::min(keep, 15)));
    kept.resize(static_cast<std::size_t>(keep), '0');
    if (keep < 15 && sig[static_cast<std::size_t>(keep)] >= '5') {
        int i = keep - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0)
            ++kept[static_cast<std::size_t>(i)];
        else
            kept.insert(kept.begin(), '1');
    }
    // kept holds the digits of round(x * 10^decimals)
    const std::size_t fracLen = static_cast<std::size_t>(decimals);
    if (kept.size() < fracLen) kept.insert(0, fracLen - kept.size(), '0');
    d.integer = kept.substr(0, kept.size() - fracLen);
    d.fraction = kept.substr(kept.size() - fracLen);
    const std::size_t nonZero = d.integer.find_first_not_of('0');
    d.integer.erase(0, nonZero == std::string::npos ? d.integer.size() : nonZero);
    return d;
}

std::string TrimFractionZeros(std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

// The general format: at most 11 characters, 10 significant digits, then
// the exponent form.
std::string General(double v) {
    if (v == 0 || !std::isfinite(v)) return "0";
    const double a = std::fabs(v);
    const std::string sign = v < 0 ? "-" : "";
    if (a >= 1e-9 && a < 1e11) {
        const int intDigits = a < 1 ? 1 : static_cast<int>(std::floor(std::log10(a))) + 1;
        const int decimals = std::max(0, std::min(10 - intDigits, 9 + (a < 1 ? 1 : 0)));
        const Digits d = DecimalDigits(a, decimals);
        std::string s = (d.integer.empty() ? "0" : d.integer) + (decimals ? "." + d.fraction : "");
        s = TrimFractionZeros(s);
        if (s != "0") return sign + s;
    }
    int e = static_cast<int>(std::floor(std::log10(a)));
    Digits m = DecimalDigits(a / std::pow(10.0, e), 5);
    if (m.integer.size() > 1) {  // 9.999995 rounded up to 10
        ++e;
        m = DecimalDigits(a / std::pow(10.0, e), 5);
    }
    std::array<char, 16> exp{};
    std::snprintf(exp.data(), exp.size(), "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
    return sign + TrimFractionZeros((m.integer.empty() ? "0" : m.integer) + "." + m.fraction) + exp.data();
}

std::string Grouped(const std::string& digits) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// Text for a placeholder that has no digit to show.
const char* EmptyPlaceholder(Kind k) { return k == Kind::Zero ? "0" : k == Kind::Question ? " " : ""; }

std::string FormatFraction(double a, const std::vector<Token>& t, std::size_t slash) {
    // Numerator: the placeholders right before the slash; whole part: an
    // earlier group of placeholders.
    std::size_t numFirst = slash;
    while (numFirst > 0 && IsDigitKind(t[numFirst - 1].kind)) --numFirst;
    bool hasWhole = false;
    for (std::size_t i = 0; i + 1 < numFirst; ++i) hasWhole = hasWhole || IsDigitKind(t[i].kind);
    int denDigits = 0;
    std::size_t after = slash + 1;
    while (after < t.size() && IsDigitKind(t[after].kind)) ++denDigits, ++after;
    int64_t fixedDen = 0;
    if (denDigits == 0 && after < t.size() && t[after].kind == Kind::Literal) fixedDen = std::atoll(t[after].text.c_str());

    const double whole = hasWhole ? std::floor(a) : 0;
    const double part = a - whole;
    int64_t num = 0, den = 1;
    if (fixedDen > 0) {
        den = fixedDen;
        num = std::llround(part * static_cast<double>(den));
    } else {
        const int64_t maxDen = denDigits >= 3 ? 999 : denDigits == 2 ? 99 : 9;
        double best = 2;
        for (int64_t d = 1; d <= maxDen; ++d) {
            const int64_t n = std::llround(part * static_cast<double>(d));
            const double err = std::fabs(part - static_cast<double>(n) / static_cast<double>(d));
            if (err < best - 1e-12) best = err, num = n, den = d;
        }
    }
    int64_t wholeDigits = static_cast<int64_t>(whole);
    if (hasWhole && num == den) ++wholeDigits, num = 0;
    std::string prefix, suffix, body;
    for (std::size_t i = 0; i < t.size() && !IsDigitKind(t[i].kind); ++i)
        if (t[i].kind == Kind::Literal) prefix += t[i].text;
    for (std::size_t i = t.size(); i-- > 0 && !IsDigitKind(t[i].kind) && i > slash + (fixedDen ? 1 : 0);)
        if (t[i].kind == Kind::Literal) suffix.insert(0, t[i].text);
    if (hasWhole && (wholeDigits > 0 || num == 0)) body = std::to_string(wholeDigits);
    if (num > 0 || !hasWhole) body += (body.empty() ? "" : " ") + std::to_string(num) + "/" + std::to_string(den);
    return prefix + body + suffix;
}

std::string FormatPlain(double v, const Section& s, bool minus) {
    const auto& t = s.tokens;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (t[i].kind == Kind::Slash && i > 0 && IsDigitKind(t[i - 1].kind)) {
            const std::string text = FormatFraction(v, t, i);
            return (minus && text.find_first_of("123456789") != std::string::npos ? "-" : "") + text;
        }

    std::size_t point = t.size(), exponent = t.size();
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind == Kind::Exponent && exponent == t.size()) exponent = i;
        if (t[i].kind == Kind::Point && point == t.size() && i < exponent) point = i;
    }
    const std::size_t intEnd = std::min(point, exponent);
    std::vector<std::size_t> intSlots, decSlots, expSlots;
    bool grouping = false;
    int scaleCommas = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (IsDigitKind(t[i].kind)) {
            (i < intEnd ? intSlots : i < exponent ? decSlots : expSlots).push_back(i);
        } else if (t[i].kind == Kind::Percent) {
            v *= 100;
        } else if (i < intEnd && t[i].kind == Kind::Comma) {
            bool digitAfter = false;
            for (std::size_t j = i + 1; j < intEnd; ++j) digitAfter = digitAfter || IsDigitKind(t[j].kind);
            if (digitAfter && !intSlots.empty())
                grouping = true;
            else if (!intSlots.empty())
                ++scaleCommas;
        }
    }
    for (int i = 0; i < scaleCommas; ++i) v /= 1000;
    if (intSlots.empty() && decSlots.empty()) {  // only texts, such as a zero section of "-"
        std::string out;
        for (const Token& k : t) {
            if (k.kind == Kind::Literal) out += k.text;
            if (k.kind == Kind::At || k.kind == Kind::General) out += General(v);
        }
        return out;
    }

    int exp10 = 0;
    if (exponent < t.size() && v != 0) {
        const int intCount = std::max<int>(1, static_cast<int>(intSlots.size()));
        exp10 = static_cast<int>(std::floor(std::log10(v)));
        const bool engineering = intSlots.size() > 1 && t[intSlots.front()].kind == Kind::Hash;
        exp10 = engineering ? static_cast<int>(std::floor(static_cast<double>(exp10) / intCount)) * intCount
                            : exp10 - (intCount - 1);
        if (DecimalDigits(v / std::pow(10.0, exp10), static_cast<int>(decSlots.size())).integer.size() >
            static_cast<std::size_t>(intCount))
            exp10 += engineering ? intCount : 1;
        v /= std::pow(10.0, exp10);
    }
    const Digits d = DecimalDigits(v, static_cast<int>(decSlots.size()));

    std::size_t firstZero = intSlots.size();
    for (std::size_t i = 0; i < intSlots.size(); ++i)
        if (t[intSlots[i]].kind == Kind::Zero && firstZero == intSlots.size()) firstZero = i;
    std::string intText = d.integer;
    if (intText.size() < intSlots.size() - firstZero) intText.insert(0, intSlots.size() - firstZero - intText.size(), '0');
    std::size_t lastShown = d.fraction.find_last_not_of('0');
    lastShown = lastShown == std::string::npos ? 0 : lastShown + 1;  // decimals up to this one are digits

    std::string out;
    bool anyDigit = d.integer.find_first_not_of('0') != std::string::npos ||
                    d.fraction.find_first_not_of('0') != std::string::npos;
    std::size_t intIndex = 0, decIndex = 0, expIndex = 0;
    const std::string expDigits = std::to_string(std::abs(exp10));
    for (std::size_t i = 0; i < t.size(); ++i) {
        const Token& k = t[i];
        if (k.kind == Kind::Literal) {
            out += k.text;
        } else if (k.kind == Kind::Point && i == point) {
            out += '.';
        } else if (k.kind == Kind::Percent) {
            out += '%';
        } else if (k.kind == Kind::Exponent) {
            out += 'E';
            if (exp10 < 0)
                out += '-';
            else if (k.letter == '+')
                out += '+';
        } else if (IsDigitKind(k.kind) && i < intEnd) {
            if (grouping) {
                if (intIndex == 0) out += intText.empty() && k.kind != Kind::Zero ? "" : Grouped(intText);
            } else {
                // Slots take digits from the right; the leftmost takes all that remain.
                const std::size_t fromRight = intSlots.size() - 1 - intIndex;
                if (intIndex == 0 && intText.size() > intSlots.size())
                    out += intText.substr(0, intText.size() - intSlots.size() + 1);
                else if (fromRight < intText.size())
                    out += intText[intText.size() - 1 - fromRight];
                else
                    out += EmptyPlaceholder(k.kind);
            }
            ++intIndex;
        } else if (IsDigitKind(k.kind) && i < exponent) {
            out += decIndex < lastShown ? std::string(1, d.fraction[decIndex]) : EmptyPlaceholder(k.kind);
            ++decIndex;
        } else if (IsDigitKind(k.kind)) {
            const std::size_t fromRight = expSlots.size() - 1 - expIndex;
            if (expIndex == 0 && expDigits.size() > expSlots.size())
                out += expDigits.substr(0, expDigits.size() - expSlots.size() + 1);
            else if (fromRight < expDigits.size())
                out += expDigits[expDigits.size() - 1 - fromRight];
            else
                out += EmptyPlaceholder(k.kind);
            ++expIndex;
        } else if (k.kind == Kind::At || k.kind == Kind::General) {
            out += General(v);
            anyDigit = true;
        }
    }
    return (minus && anyDigit ? "-" : "") + out;
}

}  // namespace

std::string FormatNumber(double value, std::string_view code, int32_t dateOrigin) {
    if (!std::isfinite(value)) return "#NUM!";
    if (code.empty() || (code.size() == 7 && StartsWithNoCase(code, 0, "general"))) return General(value);
    const std::vector<std::string_view> parts = SplitSections(code);
    std::vector<Section> sections;
    for (std::size_t i = 0; i < parts.size() && i < 3; ++i) sections.push_back(ParseSection(parts[i]));

    const Section* chosen = &sections[0];
    bool minus = value < 0;
    if (sections[0].condition.present || (sections.size() > 1 && sections[1].condition.present)) {
        // Conditions in the first two sections; the third, or a second
        // without a condition, takes the rest.
        const std::size_t n = sections.size();
        const bool firstHolds = sections[0].condition.present && sections[0].condition.holds(value);
        const bool secondHolds = n > 1 && sections[1].condition.present && sections[1].condition.holds(value);
        if (!firstHolds) {
            if (secondHolds || (n == 2 && !sections[1].condition.present))
                chosen = &sections[1];
            else if (n > 2)
                chosen = &sections[2];
        }
    } else if (value < 0 && sections.size() > 1) {
        chosen = &sections[1];
        minus = false;  // the section shows its own sign
    } else if (value == 0 && sections.size() > 2) {
        chosen = &sections[2];
    }
    if (chosen->isDate) return value < 0 ? General(value) : FormatDate(value, *chosen, dateOrigin);
    return FormatPlain(std::fabs(value), *chosen, minus);
}

std::string_view BuiltinNumberFormat(uint32_t id) {
    switch (id) {
        case 1: return "0";
        case 2: return "0.00";
        case 3: return "#,##0";
        case 4: return "#,##0.00";
        case 5: case 37: return "#,##0 ;(#,##0)";
        case 6: case 38: return "#,##0 ;[Red](#,##0)";
        case 7: case 39: return "#,##0.00;(#,##0.00)";
        case 8: case 40: return "#,##0.00;[Red](#,##0.00)";
        case 9: return "0%";
        case 10: return "0.00%";
        case 11: return "0.00E+00";
        case 12: return "# ?/?";
        case 13: return "# ?\?/?\?";
        case 14: return "yyyy/m/d";
        case 15: return "d-mmm-yy";
        case 16: return "d-mmm";
        case 17: return "mmm-yy";
        case 18: return "h:mm AM/PM";
        case 19: return "h:mm:ss AM/PM";
        case 20: return "h:mm";
        case 21: return "h:mm:ss";
        case 22: return "yyyy/m/d h:mm";
        case 27: case 36: case 50: case 57: return "ge.m.d";
        case 28: case 29: case 51: case 54: case 58: return "ggge\"年\"m\"月\"d\"日\"";
        case 30: return "m/d/yy";
        case 31: return "yyyy\"年\"m\"月\"d\"日\"";
        case 32: return "h\"時\"mm\"分\"";
        case 33: return "h\"時\"mm\"分\"ss\"秒\"";
        case 34: case 52: case 55: return "yyyy\"年\"m\"月\"";
        case 35: case 53: case 56: return "m\"月\"d\"日\"";
        case 45: return "mm:ss";
        case 46: return "[h]:mm:ss";
        case 47: return "mm:ss.0";
        case 48: return "##0.0E+0";
        case 49: return "@";
        default: return "";
    }
}

}  // namespace tavo::workbook