#include "workbook/format_code.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace tavo::workbook::format {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Bytes of the UTF-8 character that starts with `c`.
std::size_t Utf8Length(unsigned char c) { return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4; }

void AddLiteral(std::vector<Token>& out, std::string_view text) {
    if (!out.empty() && out.back().kind == Kind::Literal)
        out.back().text += text;
    else
        out.push_back(Token{Kind::Literal, std::string(text)});
}

// One "[...]" item: currency texts become literals, [h] [mm] [ss] elapsed
// times, [>100] a condition; colours and locale tags are dropped.
void ParseBracket(std::string_view item, Section& s) {
    if (item.empty()) return;
    if (item[0] == '$') {
        const std::size_t dash = item.find('-');
        AddLiteral(s.tokens, item.substr(1, dash == std::string_view::npos ? std::string_view::npos : dash - 1));
        return;
    }
    const char first = Lower(item[0]);
    if ((first == 'h' || first == 'm' || first == 's') &&
        item.find_first_not_of(item[0]) == std::string_view::npos) {
        s.tokens.push_back(Token{Kind::Elapsed, "", first, static_cast<int>(item.size())});
        return;
    }
    if (item[0] == '<' || item[0] == '>' || item[0] == '=') {
        const std::size_t numberAt = item.find_first_not_of("<>=");
        s.condition.present = true;
        s.condition.op = std::string(item.substr(0, numberAt));
        s.condition.limit = numberAt == std::string_view::npos ? 0 : std::atof(std::string(item.substr(numberAt)).c_str());
    }
}

}  // namespace

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(text[at + i]) != Lower(word[i])) return false;
    return true;
}

Section ParseSection(std::string_view code) {
    Section s;
    auto& t = s.tokens;
    std::size_t i = 0;
    while (i < code.size()) {
        const char c = code[i];
        const char lc = Lower(c);
        if (c == '"') {
            const std::size_t end = code.find('"', i + 1);
            AddLiteral(t, code.substr(i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1));
            i = end == std::string_view::npos ? code.size() : end + 1;
        } else if (c == '\\' || c == '_' || c == '*') {
            if (i + 1 < code.size()) {
                const std::size_t n = Utf8Length(static_cast<unsigned char>(code[i + 1]));
                if (c == '\\') AddLiteral(t, code.substr(i + 1, n));
                if (c == '_') AddLiteral(t, " ");
                i += 1 + n;
            } else {
                ++i;
            }
        } else if (c == '[') {
            const std::size_t end = code.find(']', i);
            ParseBracket(code.substr(i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1), s);
            i = end == std::string_view::npos ? code.size() : end + 1;
        } else if (StartsWithNoCase(code, i, "general")) {
            t.push_back(Token{Kind::General});
            i += 7;
        } else if (StartsWithNoCase(code, i, "am/pm") || StartsWithNoCase(code, i, "a/p")) {
            const std::size_t n = StartsWithNoCase(code, i, "am/pm") ? 5 : 3;
            t.push_back(Token{Kind::AmPm, std::string(code.substr(i, n))});
            i += n;
        } else if (code.compare(i, 13, "午前/午後") == 0) {
            t.push_back(Token{Kind::AmPm, "午前/午後"});
            i += 13;
        } else if (lc == 'e' && i + 1 < code.size() && (code[i + 1] == '+' || code[i + 1] == '-')) {
            t.push_back(Token{Kind::Exponent, "", code[i + 1]});
            i += 2;
        } else if (lc == 'y' || lc == 'm' || lc == 'd' || lc == 'h' || lc == 's' || lc == 'e' || lc == 'g' ||
                   (lc == 'a' && StartsWithNoCase(code, i, "aaa"))) {
            std::size_t n = 1;
            while (i + n < code.size() && Lower(code[i + n]) == lc) ++n;
            t.push_back(Token{Kind::Date, "", lc, static_cast<int>(n)});
            i += n;
        } else if (c == '.' && !t.empty() && (t.back().kind == Kind::Date || t.back().kind == Kind::Elapsed) &&
                   t.back().letter == 's' &&
                   i + 1 < code.size() && code[i + 1] == '0') {
            std::size_t n = 0;
            while (i + 1 + n < code.size() && code[i + 1 + n] == '0') ++n;
            t.back().fraction = static_cast<int>(n);
            i += 1 + n;
        } else {
            static const std::array<std::pair<char, Kind>, 8> kinds{{{'0', Kind::Zero}, {'#', Kind::Hash},
                {'?', Kind::Question}, {'.', Kind::Point}, {',', Kind::Comma}, {'%', Kind::Percent},
                {'/', Kind::Slash}, {'@', Kind::At}}};
            Kind kind = Kind::Literal;
            for (const auto& [ch, k] : kinds)
                if (c == ch) kind = k;
            if (kind == Kind::Literal) {
                const std::size_t n = Utf8Length(static_cast<unsigned char>(c));
                AddLiteral(t, code.substr(i, n));
                i += n;
            } else {
                t.push_back(Token{kind});
                ++i;
            }
        }
    }
    for (const Token& tok : t)
        if (tok.kind == Kind::Date || tok.kind == Kind::AmPm || tok.kind == Kind::Elapsed) s.isDate = true;
    return s;
}

std::vector<std::string_view> SplitSections(std::string_view code) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const std::size_t end = code.find('"', i + 1);
            i = end == std::string_view::npos ? code.size() : end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            const std::size_t end = code.find(']', i);
            i = end == std::string_view::npos ? code.size() : end;
        } else if (c == ';') {
            parts.push_back(code.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(code.substr(start));
    return parts;
}

// The decimal digits of x >= 0 rounded to `decimals` places, half away from

}  // namespace tavo::workbook::format
