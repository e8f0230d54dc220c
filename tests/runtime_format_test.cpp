#include "base/runtime_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "base/number_text.h"

namespace tavo {
namespace {

double fromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// What the tables in tests/data do not hold (each checked against Free
// Pascal's Format): digits out of range, the runtime's round-up quirk on
// long mantissas, negative zeros, texts past 255 characters.
TEST(NumberFormat, FormsOfTheRuntimeBeyondTheTables) {
    const struct {
        double value;
        int digits;
        const char* text;
    } exponents[] = {
        {-0.0, 7, "0.000000E+000"}, {1.2345e-10, 7, "1.234500E-010"}, {1.5e100, 7, "1.500000E+100"},
        {-2.5e-100, 7, "-2.500000E-100"}, {9.99999951, 7, "1.000000E+001"},  // a carry into a new digit
        // The quirk: 4, then 9s, then 8 or 9 as second-to-last; not with many digits.
        {47673044992, 7, "4.767305E+010"}, {12345674999, 7, "1.234568E+010"}, {1234567.499, 7, "1.234567E+006"},
        {9.99999951, 18, "9.9999995100000003E+000"}, {9.99999951, 30, "9.9999995100000003E+000"},  // as 17
    }, fixed[] = {
        {-0.0, 2, "0.00"}, {-0.0049999999999999992, 2, "0.00"}, {0.99949999999999994, 3, "0.999"},
        {123.456, 1, "123.5"}, {123.456, 18, "123.456000000000003070"},
        {2.345, 40, "2.345000000000000195"}, {2.345, -1, "2"},  // as 18 and as 0
        {9.99999e251, 3, "1.0E+0252"},  // past 255 characters: exponent form
    };
    for (const auto& c : exponents) EXPECT_EQ(FormatExponent(c.value, c.digits), c.text) << c.value;
    for (const auto& c : fixed) EXPECT_EQ(FormatFixed(c.value, c.digits), c.text) << c.value;
    EXPECT_EQ(FormatFixed(9.99999e251, 2).size(), 255u);
}

TEST(NumberFormat, SpecialValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int digits : {0, 2, 3, 7, 18}) {
        EXPECT_EQ(FormatFixed(nan, digits), "Nan");
        EXPECT_EQ(FormatFixed(-nan, digits), "Nan");
        EXPECT_EQ(FormatFixed(inf, digits), "+Inf");
        EXPECT_EQ(FormatFixed(-inf, digits), "-Inf");
        EXPECT_EQ(FormatExponent(nan, digits), "Nan");
        EXPECT_EQ(FormatExponent(fromBits(0x7FF0000000000001), digits), "Nan");
        EXPECT_EQ(FormatExponent(inf, digits), "+Inf");
        EXPECT_EQ(FormatExponent(-inf, digits), "-Inf");
    }
}

TEST(NumberFormat, AppendAndWriteGiveTheSameTexts) {
    std::string line = "x=";
    AppendFixed(line, 2.675, 3);
    line += ',';
    AppendExponent(line, -0.25, 7);
    EXPECT_EQ(line, "x=2.675,-2.500000E-001");

    char buffer[kMaxNumberText];
    const std::size_t n = WriteFixed(buffer, -1e251, 18);
    EXPECT_EQ(std::string(buffer, n), "-1.0E+0251");
    const std::size_t m = WriteFixed(buffer, 9.99999e251, 2);
    EXPECT_EQ(m, 255u);
    EXPECT_EQ(std::string(buffer, m), FormatFixed(9.99999e251, 2));
}

// One line of a table in tests/data: the double's bits, then the texts.
struct Case {
    int line;
    double value;
    std::vector<std::string> texts;
};

std::vector<Case> readTable(const std::string& name, std::size_t textsPerLine) {
    const std::string path = std::string(TAVO_TEST_DATA_DIR) + "/" + name;
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::vector<Case> cases;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (text.empty() || text[0] == '#') continue;
        Case c{line, fromBits(std::strtoull(text.substr(0, 16).c_str(), nullptr, 16)), {}};
        std::size_t bar = text.find('|');
        while (bar != std::string::npos) {
            const std::size_t next = text.find('|', bar + 1);
            c.texts.push_back(
                text.substr(bar + 1, next == std::string::npos ? std::string::npos : next - bar - 1));
            bar = next;
        }
        EXPECT_EQ(c.texts.size(), textsPerLine) << path << ":" << line;
        cases.push_back(std::move(c));
    }
    return cases;
}

// Free Pascal's texts for %.2f, %.3f and %.7e: ties, near ties, carries,
// single-precision values, huge and tiny values.
TEST(NumberFormat, MatchesTheRuntimeOnTrickyValues) {
    const auto cases = readTable("number_format_fpc.txt", 3);
    EXPECT_GE(cases.size(), 550u);
    for (const Case& c : cases) {
        if (c.texts.size() != 3) continue;
        EXPECT_EQ(FormatFixed(c.value, 2), c.texts[0]) << "line " << c.line;
        EXPECT_EQ(FormatFixed(c.value, 3), c.texts[1]) << "line " << c.line;
        EXPECT_EQ(FormatExponent(c.value, 7), c.texts[2]) << "line " << c.line;
    }
}

// Free Pascal's texts for every precision from 0 to 18 in both forms.
TEST(NumberFormat, MatchesTheRuntimeAtEveryPrecision) {
    const auto cases = readTable("number_format_fpc_all.txt", 38);
    EXPECT_GE(cases.size(), 250u);
    for (const Case& c : cases) {
        if (c.texts.size() != 38) continue;
        for (int k = 0; k <= 18; ++k) {
            EXPECT_EQ(FormatFixed(c.value, k), c.texts[k]) << "line " << c.line << ", %." << k << "f";
            EXPECT_EQ(FormatExponent(c.value, k), c.texts[19 + k]) << "line " << c.line << ", %." << k << "e";
        }
    }
}

TEST(ParseFloat, ReadsDecimalFractionsAsTheRuntimeDoes) {
    EXPECT_EQ(parseFloat("1.5"), 1.5);
    EXPECT_EQ(parseFloat(".5"), 0.5);
    EXPECT_EQ(parseFloat("5."), 5.0);
    EXPECT_EQ(parseFloat("+.5e1"), 5.0);
    EXPECT_EQ(parseFloat(" 7 "), 7.0);
    EXPECT_EQ(parseFloat("\t4\r\n"), 4.0);
    EXPECT_EQ(parseFloat("  -3.25e-2  "), -0.0325);
    EXPECT_EQ(parseFloat("1E5"), 1e5);
    EXPECT_EQ(parseFloat("1e05"), 1e5);
    EXPECT_EQ(parseFloat("1e+05"), 1e5);
    EXPECT_EQ(parseFloat("00012"), 12.0);
    EXPECT_EQ(parseFloat("0.1"), 0.1);
    EXPECT_EQ(parseFloat("1.234568E+003"), 1234.568);
    EXPECT_EQ(parseFloat("-2.500000E-001"), -0.25);
    EXPECT_EQ(parseFloat("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_EQ(parseFloat("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(parseFloat("4.9e-324"), 5e-324);
    EXPECT_EQ(parseFloat("3e-324"), 5e-324);
    EXPECT_EQ(parseFloat("0e999999"), 0.0);

    const auto negativeZero = parseFloat("-0");
    ASSERT_TRUE(negativeZero.has_value());
    EXPECT_TRUE(*negativeZero == 0 && std::signbit(*negativeZero));
    // Too small for a double: zero, as the runtime has it.
    EXPECT_EQ(parseFloat("1e-400"), 0.0);
    EXPECT_EQ(parseFloat("2e-324"), 0.0);
    EXPECT_EQ(parseFloat("1e-2147483649"), 0.0);
    const auto tinyNegative = parseFloat("-1e-400");
    ASSERT_TRUE(tinyNegative.has_value());
    EXPECT_TRUE(*tinyNegative == 0 && std::signbit(*tinyNegative));

    // Too large for a double (the runtime reads some of these as infinity).
    for (const char* big : {"1e400", "-1e400", "2e308", "1.7976931348623159e308", "1e5000", "1e2147483648",
                            "123456789e999999999999999999"})
        EXPECT_FALSE(parseFloat(big).has_value()) << big;
    // Not a decimal fraction. The runtime takes "inf", "nan", "e5", ".", "1e+"
    // and "5e-" (the last four as 0, 1 and 5); we do not.
    for (const char* bad :
         {"",    " ",   "abc", "1,5",   "1.2.3",   "1e",    "1e+", "5e-",  "e5",  ".",   "-.",
          ".e1", "-",   "+",   "$10",   "0x10",    "inf",   "Inf", "+Inf", "nan", "NaN", "1d5",
          "1 2", "--1", "+-1", "1e+-1", "1.5e2.5", "1_000", "1f",  "1.0L", ".5."})
        EXPECT_FALSE(parseFloat(bad).has_value()) << '"' << bad << '"';
    // The runtime stops at a NUL ("4" and the rest unread); we refuse it.
    EXPECT_FALSE(parseFloat(std::string_view("4\0 5", 4)).has_value());
}

TEST(ParseFloat, ReadsBackWhatFormatWrites) {
    for (double v : {0.0, 1.0, -0.25, 123.456, 1e-10, 6.02214076e23, -9.87654321e-200}) {
        EXPECT_EQ(parseFloat(FormatExponent(v, 17)), v);
        EXPECT_EQ(*parseFloat(FormatExponent(v, 7)), std::stod(FormatExponent(v, 7)));
        EXPECT_EQ(*parseFloat(FormatFixed(v, 3)), std::stod(FormatFixed(v, 3)));
    }
}

}  // namespace
}  // namespace tavo
