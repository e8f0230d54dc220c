#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "workbook/format_code.h"

namespace tavo::workbook::format {

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

struct JapaneseEra {
    int year, month, day;  // first day
    const char* letter;
    const char* initial;
    const char* name;
};
constexpr std::array<JapaneseEra, 5> kEras{{{1868, 1, 1, "M", "明", "明治"},
                                            {1912, 7, 30, "T", "大", "大正"},
                                            {1926, 12, 25, "S", "昭", "昭和"},
                                            {1989, 1, 8, "H", "平", "平成"},
                                            {2019, 5, 1, "R", "令", "令和"}}};

const JapaneseEra& EraOf(int y, int m, int d) {
    const JapaneseEra* found = &kEras[0];
    for (const JapaneseEra& e : kEras)
        if (std::make_tuple(y, m, d) >= std::make_tuple(e.year, e.month, e.day)) found = &e;
    return *found;
}

std::string Padded(int64_t v, int width) {
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    return s;
}

constexpr std::array<const char*, 12> kMonths{"January", "February", "March", "April", "May", "June", "July",
                                              "August", "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kWeekdays{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                                               "Saturday"};
constexpr std::array<const char*, 7> kWeekdaysJa{"日", "月", "火", "水", "木", "金", "土"};

// Whether the "m" at index i means minutes: right after an hour or right
// before a second, other date and time letters not counted in between.
bool IsMinute(const std::vector<Token>& t, std::size_t i) {
    for (std::size_t j = i; j-- > 0;)
        if (t[j].kind == Kind::Date || t[j].kind == Kind::Elapsed) {
            if (t[j].letter == 'h') return true;
            break;
        }
    for (std::size_t j = i + 1; j < t.size(); ++j)
        if (t[j].kind == Kind::Date || t[j].kind == Kind::Elapsed) return t[j].letter == 's';
    return false;
}

}  // namespace

std::string FormatDate(double value, const Section& s, int32_t dateOrigin) {
    int fractionDigits = 0;
    bool twelveHour = false;
    for (const Token& t : s.tokens) {
        if (t.letter == 's') fractionDigits = std::max(fractionDigits, std::min(t.fraction, 3));
        if (t.kind == Kind::AmPm) twelveHour = true;
    }
    int64_t scale = 1;
    for (int i = 0; i < fractionDigits; ++i) scale *= 10;
    const int64_t units = std::llround(value * 86400.0 * static_cast<double>(scale));
    const int64_t dayUnits = 86400 * scale;
    const int64_t serial = units / dayUnits;
    const int64_t rest = units % dayUnits;
    const int64_t seconds = rest / scale;
    const int64_t fraction = rest % scale;
    const int hour = static_cast<int>(seconds / 3600), minute = static_cast<int>(seconds / 60 % 60);
    const int second = static_cast<int>(seconds % 60);

    int year = 1900, month = 2, day = 29;  // serial 60 of the 1900 system is a day that never was
    int64_t sinceEpoch = 0;
    if (dateOrigin != 0 || serial != 60) {
        // The 1900 system counts a 29 February 1900, so its early serials are one day short.
        sinceEpoch = serial + dateOrigin + (dateOrigin == 0 && serial < 60 ? 1 : 0) - 25569;
        CivilFromDays(sinceEpoch, year, month, day);
    }
    // The 1900 system counts its weekdays from serial 1 as a Sunday, the
    // missing day included.
    const int weekday = dateOrigin == 0 ? static_cast<int>((serial % 7 + 13) % 7)
                                        : static_cast<int>(((sinceEpoch % 7) + 11) % 7);
    const JapaneseEra& era = EraOf(year, month, day);

    std::string out;
    const auto& t = s.tokens;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const Token& k = t[i];
        switch (k.kind) {
            case Kind::Literal: out += k.text; break;
            case Kind::Point: out += '.'; break;
            case Kind::Comma: out += ','; break;
            case Kind::Slash: out += '/'; break;
            case Kind::Percent: out += '%'; break;
            case Kind::AmPm: {
                const bool pm = hour >= 12;
                if (k.text == "午前/午後") {
                    out += pm ? "午後" : "午前";
                } else {
                    const std::size_t slash = k.text.find('/');
                    out += pm ? k.text.substr(slash + 1) : k.text.substr(0, slash);
                }
                break;
            }
            case Kind::Elapsed: {
                const int64_t total = k.letter == 'h' ? serial * 24 + hour
                                      : k.letter == 'm' ? (serial * 24 + hour) * 60 + minute
                                                        : serial * 86400 + seconds;
                out += Padded(total, k.count);
                if (k.letter == 's' && k.fraction > 0) out += "." + Padded(fraction, fractionDigits).substr(0, static_cast<std::size_t>(k.fraction));
                break;
            }
            case Kind::Date:
                switch (k.letter) {
                    case 'y': out += k.count <= 2 ? Padded(year % 100, 2) : Padded(year, 4); break;
                    case 'm':
                        if (k.count <= 2 && IsMinute(t, i))
                            out += Padded(minute, k.count);
                        else if (k.count <= 2)
                            out += Padded(month, k.count);
                        else if (k.count == 5)
                            out += kMonths[static_cast<std::size_t>(month - 1)][0];
                        else
                            out += std::string(kMonths[static_cast<std::size_t>(month - 1)]).substr(0, k.count == 3 ? 3 : std::string::npos);
                        break;
                    case 'd':
                        if (k.count <= 2)
                            out += Padded(day, k.count);
                        else
                            out += std::string(kWeekdays[static_cast<std::size_t>(weekday)]).substr(0, k.count == 3 ? 3 : std::string::npos);
                        break;
                    case 'a':
                        out += kWeekdaysJa[static_cast<std::size_t>(weekday)];
                        if (k.count >= 4) out += "曜日";
                        break;
                    case 'h': out += Padded(twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour, k.count); break;
                    case 's':
                        out += Padded(second, k.count);
                        if (k.fraction > 0) out += "." + Padded(fraction, fractionDigits).substr(0, static_cast<std::size_t>(k.fraction));
                        break;
                    case 'e': out += Padded(year - era.year + 1, k.count >= 2 ? 2 : 1); break;
                    case 'g': out += k.count == 1 ? era.letter : k.count == 2 ? era.initial : era.name; break;
                    default: break;
                }
                break;
            default: break;
        }
    }
    return out;
}

}  // namespace tavo::workbook::format
