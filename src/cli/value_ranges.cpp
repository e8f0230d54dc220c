#include "cli/value_ranges.h"

#include <cmath>

#include "base/ascii_case.h"
#include "base/number_text.h"
#include "cli/cli_args.h"
#include "settings/settings_convert.h"

namespace tavo::cli {

namespace {

constexpr ValueRule integer(const char* key, int32_t min, int32_t max) {
    return {key, ValueForm::Integer, static_cast<double>(min), static_cast<double>(max)};
}
constexpr ValueRule list(const char* key, int items, int32_t min, int32_t max) {
    return {key, ValueForm::IntegerList, static_cast<double>(min), static_cast<double>(max), items};
}
constexpr ValueRule decimal(const char* key, double min, double max) { return {key, ValueForm::Decimal, min, max}; }
constexpr ValueRule boolean(const char* key) { return {key, ValueForm::Boolean}; }
constexpr ValueRule text(const char* key, int maxBytes) {
    return {key, ValueForm::Text, 0, 0, 0, maxBytes};
}

// The dialog's boxes and their StrToIntRange / StrToFloatRange bounds; layer
// bytes are any group and layer; the comments are what a .jwc file keeps.
const ValueRule kRules[] = {
    list("PenNo", 10, 1, 6),
    list("MojiWidth", 10, 10, 1000),
    list("MojiHeight", 10, 10, 1000),
    list("MojiPitch", 10, -100, 1000),
    decimal("DimScale", 0.035, 3.5),
    integer("JwcScale", 1, 1000),
    integer("PlotSize", 0, 4),
    integer("SenLay", 0, 255),
    integer("SenColor", 1, 6),
    decimal("DoubleSenPitch", 0, 10),
    integer("MojiLay", 0, 255),
    integer("SimbolLay", 0, 255),
    integer("SimbolColor", 1, 6),
    integer("ExportTarget", 0, 3),
    integer("PlotOffset", 0, 2),
    boolean("IsSameScale"),
    list("GroupScale", 16, 1, 1000),
    list("BColorIndex", 56, 1, 6),
    list("BTypeIndex", 13, 1, 9),
    boolean("ExchangeCaret"),
    boolean("ExchangeSolid"),
    text("Comment1", 32),
    text("Comment2", 32),
    text("FileName", 0),
    text("FilePath", 0),
    text("DumpName", 0),
    boolean("CeckLine"),
    boolean("CeckCircle"),
    boolean("CeckString"),
    boolean("CeckDot"),
};

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string number(double v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
}

std::string wholeRange(double min, double max) {
    return "a whole number from " + number(min) + " to " + number(max);
}

// BColorIndex entries 17..32 belong to palette colours without a swatch in
// the dialog, which keeps whatever they hold; the factory value is 0.
bool withoutSwatch(const ValueRule& rule, std::size_t entry) {
    return EqualsIgnoringAsciiCase(rule.key, "BColorIndex") && entry >= 16 && entry < 32;
}

std::string listProblem(const ValueRule& rule, std::string_view text) {
    std::string problem;
    const std::size_t count = ForEachListItem(text, static_cast<std::size_t>(rule.items) + 1,
                                              [&](std::size_t i, std::string_view item) {
        if (!problem.empty()) return;
        const double min = withoutSwatch(rule, i) ? 0 : rule.min;
        const std::optional<int32_t> v = parseInt32(item);
        if (!v || *v < min || *v > rule.max)
            problem = std::string(rule.key) + " item " + std::to_string(i + 1) + " is " + wholeRange(min, rule.max) +
                      ", not " + quoted(item);
    });
    if (!problem.empty()) return problem;
    if (count != static_cast<std::size_t>(rule.items) || text.find(",,") != std::string_view::npos)
        return std::string(rule.key) + " is a list of " + std::to_string(rule.items) + " whole numbers from " +
               number(rule.min) + " to " + number(rule.max) + " separated by commas";
    return {};
}

std::string decimalProblem(const ValueRule& rule, std::string_view text) {
    const std::optional<double> v = parseFloat(text);
    const std::size_t point = text.find('.');
    const bool tooFine = point != std::string_view::npos && text.size() - point - 1 > 3;
    if (!v || *v < rule.min || *v > rule.max || tooFine || text.find_first_of("eE") != std::string_view::npos)
        return std::string(rule.key) + " is a number from " + number(rule.min) + " to " + number(rule.max) +
               " with at most 3 decimals, not " + quoted(text);
    return {};
}

}  // namespace

const ValueRule* FindValueRule(std::string_view key) {
    for (const ValueRule& rule : kRules)
        if (EqualsIgnoringAsciiCase(rule.key, key)) return &rule;
    return nullptr;
}

std::string ValueProblem(const ValueRule& rule, std::string_view text) {
    switch (rule.form) {
        case ValueForm::Integer: {
            const std::optional<int32_t> v = parseInt32(text);
            if (!v || *v < rule.min || *v > rule.max)
                return std::string(rule.key) + " is " + wholeRange(rule.min, rule.max) + ", not " + quoted(text);
            return {};
        }
        case ValueForm::IntegerList: return listProblem(rule, text);
        case ValueForm::Decimal: return decimalProblem(rule, text);
        case ValueForm::Boolean:
            if (text != "0" && text != "1") return std::string(rule.key) + " is 0 or 1, not " + quoted(text);
            return {};
        case ValueForm::Text:
            // A line break would end the value early in the profile file.
            if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
                return std::string(rule.key) + " holds no line break";
            if (rule.maxBytes > 0 && text.size() > static_cast<std::size_t>(rule.maxBytes))
                return std::string(rule.key) + " is " + std::to_string(text.size()) +
                       " bytes in Shift-JIS; a .jwc file keeps " + std::to_string(rule.maxBytes);
            return {};
    }
    return {};
}

std::string CommentsProblem(const std::string& comment1, const std::string& comment2) {
    const std::string problem = ValueProblem(*FindValueRule("Comment1"), comment1);
    return problem.empty() ? ValueProblem(*FindValueRule("Comment2"), comment2) : problem;
}

bool TryRangedInt(const char* key, std::string_view text, int32_t& value, std::string& problem) {
    const ValueRule* rule = FindValueRule(key);
    problem = ValueProblem(*rule, text);
    if (!problem.empty()) return false;
    value = parseInt32(text).value_or(0);
    return true;
}

int32_t RangedInt(const char* key, std::string_view text, const std::string& what) {
    int32_t value = 0;
    std::string problem;
    if (!TryRangedInt(key, text, value, problem)) throw UsageError{what + ": " + problem, false};
    return value;
}

}  // namespace tavo::cli
