#pragma once

// The pieces of a number format code, shared by the number and date
// formatting.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavo::workbook::format {

enum class Kind : uint8_t { Literal, Zero, Hash, Question, Point, Comma, Percent, Exponent, Slash, At, General,
                            Date, AmPm, Elapsed };

struct Token {
    explicit Token(Kind k, std::string t = {}, char l = 0, int n = 0)
        : kind(k), text(std::move(t)), letter(l), count(n) {}

    Kind kind;
    std::string text;  // Literal: the text; AmPm: the form ("AM/PM", "A/P", "午前/午後")
    char letter = 0;   // Date and Elapsed: y m d h s e g a (lower case); Exponent: '+' or '-'
    int count = 0;     // Date and Elapsed: letters in a row
    int fraction = 0;  // Date 's' and Elapsed 's': digits of the seconds' fraction
};

struct Condition {
    bool present = false;
    std::string op;
    double limit = 0;
    bool holds(double v) const {
        if (op == "<") return v < limit;
        if (op == "<=") return v <= limit;
        if (op == ">") return v > limit;
        if (op == ">=") return v >= limit;
        if (op == "<>") return v != limit;
        return v == limit;
    }
};

struct Section {
    std::vector<Token> tokens;
    Condition condition;
    bool isDate = false;
};

inline bool IsDigitKind(Kind k) { return k == Kind::Zero || k == Kind::Hash || k == Kind::Question; }

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word);

// The sections of a code, split at the semicolons outside quotes,
// escapes and brackets.
std::vector<std::string_view> SplitSections(std::string_view code);
Section ParseSection(std::string_view section);

// A date and time section for a serial day number.
std::string FormatDate(double value, const Section& s, int32_t dateOrigin);

}  // namespace tavo::workbook::format
