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

TEST(NumberFormat, SpecialValuesAndAppendedTexts) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, const char*> special[] = {{nan, "Nan"}, {-nan, "Nan"}, {fromBits(0x7FF0000000000001), "Nan"},
                                                      {inf, "+Inf"}, {-inf, "-Inf"}};
    for (int digits : {0, 7, 18}) {
        for (const auto& [value, text] : special) {
            EXPECT_EQ(FormatFixed(value, digits), text);
            EXPECT_EQ(FormatExponent(value, digits), text);
        }
    }
    std::string line = "x=";
    AppendFixed(line, 2.675, 3);
    AppendExponent(line, -0.25, 7);
    EXPECT_EQ(line, "x=2.675-2.500000E-001");
    char buffer[kMaxNumberText];
    EXPECT_EQ(std::string(buffer, WriteFixed(buffer, -1e251, 18)), "-1.0E+0251");
}

// A table in tests/data, one value a line: the double's bits, then Free
// Pascal's text for each form ('f' or 'e' and the digits), after a "|" each.
void expectTable(const std::string& name, const std::vector<std::pair<char, int>>& forms, int atLeast) {
    const std::string path = std::string(TAVO_TEST_DATA_DIR) + "/" + name;
    std::ifstream in(path);
    int values = 0;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (text.empty() || text[0] == '#') continue;
        ++values;
        const double value = fromBits(std::strtoull(text.substr(0, 16).c_str(), nullptr, 16));
        std::vector<std::string> texts;
        for (std::size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', bar + 1))
            texts.push_back(text.substr(bar + 1, text.find('|', bar + 1) - bar - 1));
        ASSERT_EQ(texts.size(), forms.size()) << path << ":" << line;
        for (std::size_t k = 0; k < forms.size(); ++k) {
            const auto& [form, digits] = forms[k];
            EXPECT_EQ(form == 'f' ? FormatFixed(value, digits) : FormatExponent(value, digits), texts[k])
                << path << ":" << line << ", %." << digits << form;
        }
    }
    EXPECT_GE(values, atLeast) << path;
}

// Ties, near ties, carries, single-precision values, huge and tiny values.
TEST(NumberFormat, MatchesTheRuntimeOnTrickyValues) { expectTable("number_format_fpc.txt", {{'f', 2}, {'f', 3}, {'e', 7}}, 550); }

TEST(NumberFormat, MatchesTheRuntimeAtEveryPrecision) {
    std::vector<std::pair<char, int>> forms;
    for (char form : {'f', 'e'})
        for (int digits = 0; digits <= 18; ++digits) forms.emplace_back(form, digits);
    expectTable("number_format_fpc_all.txt", forms, 250);
}

TEST(ParseFloat, ReadsDecimalFractionsAsTheRuntimeDoes) {
    const std::pair<const char*, double> good[] = {
        {".5", 0.5}, {"5.", 5}, {"+.5e1", 5}, {"\t4\r\n", 4}, {"  -3.25e-2  ", -0.0325}, {"1E5", 1e5}, {"1e+05", 1e5},
        {"00012", 12}, {"0.1", 0.1}, {"123456789012345678901234567890", 1.2345678901234568e29},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()}, {"4.9e-324", 5e-324}, {"3e-324", 5e-324},
        {"0e999999", 0}, {"-0", -0.0}, {"1e-400", 0}, {"2e-324", 0}, {"1e-2147483649", 0}, {"-1e-400", -0.0},
    };
    for (const auto& [text, value] : good) {
        const auto read = parseFloat(text);
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_TRUE(*read == value && std::signbit(*read) == std::signbit(value)) << text;  // tiny ones are zeros
    }
    // Too large for a double (the runtime reads some of these as infinity),
    // or no decimal fraction. The runtime takes "inf", "nan", "e5", ".",
    // "1e+" and "5e-" (the last four as 0, 1 and 5), and stops at a NUL; we do not.
    for (const char* bad :
         {"1e400", "-1e400", "1.7976931348623159e308", "1e2147483648", "123456789e999999999999999999", "", " ", "1,5",
          "1.2.3", "1e", "1e+", "5e-", "e5", ".", "-.", ".e1", "-", "$10", "0x10", "inf", "+Inf", "nan", "1d5", "1 2",
          "--1", "+-1", "1e+-1", "1.5e2.5", "1_000", "1f", ".5."})
        EXPECT_FALSE(parseFloat(bad).has_value()) << '"' << bad << '"';
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
