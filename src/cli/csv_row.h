#pragma once

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "base/ascii_case.h"
#include "base/error.h"
#include "cli/csv.h"
#include "cli/number_text_cli.h"
#include "cli/value_ranges.h"
#include "jwc/jwc_records.h"

namespace tavo::cli {

// Kinds match without regard to ASCII case, as spreadsheets capitalise.
inline bool KindIs(const CsvRow& row, const char* kind) { return EqualsIgnoringAsciiCase(row.fields[0], kind); }

// Reads the fields of one row, naming the row in every complaint. Cells
// after the last field are allowed when empty (a spreadsheet pads rows to
// the widest one).
class RowReader {
public:
    RowReader(const CsvRow& row, const std::string& file, std::size_t fieldCount)
        : row_(row), file_(file) {
        std::size_t used = row.fields.size();
        while (used > fieldCount + 1 && row.fields[used - 1].empty()) --used;
        if (used != fieldCount + 1)
            fail(row.fields[0] + " needs " + std::to_string(fieldCount) + " fields after the kind, not " +
                 std::to_string(used - 1));
    }

    float f32() {
        std::string t = numberText();
        if (row_.separator == ';' && t.find('.') == std::string::npos) {
            const auto comma = t.find(',');
            if (comma != std::string::npos) t[comma] = '.';
        }
        float v = 0;
        if (!ParseWhole(t, v) || !std::isfinite(v))
            fail("field " + std::to_string(index_) + " is not a number: \"" + current() + "\"");
        return v;
    }
    template <class T>
    T integer() {
        const std::string t = numberText();
        long long v = 0;
        if (!ParseWhole(t, v) || v < std::numeric_limits<T>::min() ||
            v > std::numeric_limits<T>::max())
            fail("field " + std::to_string(index_) + " is not a whole number from " +
                 std::to_string(+std::numeric_limits<T>::min()) + " to " +
                 std::to_string(+std::numeric_limits<T>::max()) + ": \"" + current() + "\"");
        return static_cast<T>(v);
    }
    // A pen, line type or text size as JW_CAD knows them (pens 1 to 9, line
    // types 1 to 9 in the low four bits, text sizes 1 to 10): other readers
    // refuse a file with any other.
    uint8_t pen(const char* field) { return known(field, KnownPen, "pens 1 to 9"); }
    uint8_t lineType(const char* field) {
        return known(field, KnownLineType, "line types 1 to 9 (in the low four bits)");
    }
    uint8_t textSize(const char* field) { return known(field, KnownTextSize, "text sizes 1 to 10"); }

    // A whole number within the range of a settings key.
    int32_t ranged(const char* key) {
        int32_t v = 0;
        std::string problem;
        numberText();
        if (!TryRangedInt(key, trimmed(current()), v, problem)) fail("field " + std::to_string(index_) + ": " + problem);
        return v;
    }
    const std::string& text() { return next(); }

    [[noreturn]] void fail(const std::string& what) const {
        throw Error::badFile(file_, "line " + std::to_string(row_.line) + ": " + what);
    }

private:
    uint8_t known(const char* field, bool (*isKnown)(uint8_t), const char* what) {
        const auto v = integer<uint8_t>();
        if (!isKnown(v))
            fail("field " + std::to_string(index_) + " (" + field + ") is " + std::to_string(v) + "; JW_CAD knows " +
                 what);
        return v;
    }
    const std::string& next() { return row_.fields[++index_]; }
    const std::string& current() const { return row_.fields[index_]; }
    std::string numberText() { return trimmed(next()); }
    static std::string trimmed(const std::string& t) {
        const auto first = t.find_first_not_of(" \t");
        if (first == std::string::npos) return {};
        return t.substr(first, t.find_last_not_of(" \t") - first + 1);
    }

    const CsvRow& row_;
    const std::string& file_;
    std::size_t index_ = 0;
};

}  // namespace tavo::cli
