#pragma once

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "base/error.h"
#include "cli/csv.h"
#include "cli/number_text_cli.h"

namespace tavo::cli {

// Reads the fields of one row, naming the row in every complaint.
class RowReader {
public:
    RowReader(const CsvRow& row, const std::string& file, std::size_t fieldCount)
        : row_(row), file_(file) {
        if (row.fields.size() != fieldCount + 1)
            fail(row.fields[0] + " needs " + std::to_string(fieldCount) + " fields after the kind, not " +
                 std::to_string(row.fields.size() - 1));
    }

    float f32() {
        const std::string& t = next();
        float v = 0;
        if (!ParseWhole(t, v) || !std::isfinite(v))
            fail("field " + std::to_string(index_) + " is not a number: \"" + t + "\"");
        return v;
    }
    template <class T>
    T integer() {
        const std::string& t = next();
        long long v = 0;
        if (!ParseWhole(t, v) || v < std::numeric_limits<T>::min() ||
            v > std::numeric_limits<T>::max())
            fail("field " + std::to_string(index_) + " is not a whole number from " +
                 std::to_string(+std::numeric_limits<T>::min()) + " to " +
                 std::to_string(+std::numeric_limits<T>::max()) + ": \"" + t + "\"");
        return static_cast<T>(v);
    }
    const std::string& text() { return next(); }

    [[noreturn]] void fail(const std::string& what) const {
        throw Error::badFile(file_, "line " + std::to_string(row_.line) + ": " + what);
    }

private:
    const std::string& next() { return row_.fields[++index_]; }

    const CsvRow& row_;
    const std::string& file_;
    std::size_t index_ = 0;
};

}  // namespace tavo::cli
