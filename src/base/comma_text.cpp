#include "base/comma_text.h"

namespace tavo {

namespace {

bool isSeparatorBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 0x20;
}

// Reads a quoted field starting at the opening quote; stops after the
// closing one, or at the end when there is none.
std::string readQuoted(std::string_view s, std::size_t& p) {
    std::string out;
    ++p;
    while (p < s.size()) {
        if (s[p] == '"') {
            if (p + 1 < s.size() && s[p + 1] == '"') {
                out += '"';
                p += 2;
                continue;
            }
            ++p;
            break;
        }
        out += s[p++];
    }
    return out;
}

}  // namespace

std::vector<std::string> splitCommaText(std::string_view line) {
    const std::size_t nul = line.find('\0');
    const std::string_view s = line.substr(0, nul);
    std::vector<std::string> fields;
    std::size_t p = 0;
    while (p < s.size() && isSeparatorBlank(s[p])) ++p;
    while (p < s.size()) {
        if (s[p] == '"') {
            fields.push_back(readQuoted(s, p));
        } else {
            const std::size_t start = p;
            while (p < s.size() && !isSeparatorBlank(s[p]) && s[p] != ',') ++p;
            fields.emplace_back(s.substr(start, p - start));
        }
        while (p < s.size() && isSeparatorBlank(s[p])) ++p;
        if (p < s.size() && s[p] == ',') {
            if (p + 1 == s.size()) fields.emplace_back();
            do {
                ++p;
            } while (p < s.size() && isSeparatorBlank(s[p]));
        }
    }
    return fields;
}

}  // namespace tavo
