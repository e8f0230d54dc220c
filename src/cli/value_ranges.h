#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavo::cli {

// What a settings key holds, as the settings dialog lets it through. Every
// route that writes a value (tavo config set, the flags of build, the
// Drawing row of a CSV) checks it here; reading stored values keeps the
// library's lenient rules.
enum class ValueForm { Integer, IntegerList, Decimal, Boolean, Text };

struct ValueRule {
    const char* key;
    ValueForm form;
    double min = 0, max = 0;  // Integer, IntegerList, Decimal
    int items = 0;            // IntegerList: exactly this many
    int maxBytes = 0;         // Text: at most this many Shift-JIS bytes, 0 for no limit
};

// The rule of a key of "tavo.ini" (case ignored), or null.
const ValueRule* FindValueRule(std::string_view key);

// Empty when `text` is a value the rule lets through, else what is wrong
// ("JwcScale is a whole number from 1 to 1000, not \"0\""). Text values are
// Shift-JIS bytes.
std::string ValueProblem(const ValueRule& rule, std::string_view text);

// Empty when both comments (Shift-JIS) fit a .jwc file, else what is wrong.
std::string CommentsProblem(const std::string& comment1, const std::string& comment2);

// A whole number for `key`'s range; throws UsageError naming `what` (a flag)
// or returns the problem through `problem` for a CSV field.
int32_t RangedInt(const char* key, std::string_view text, const std::string& what);
bool TryRangedInt(const char* key, std::string_view text, int32_t& value, std::string& problem);

}  // namespace tavo::cli
