#pragma once

#include <string>
#include <string_view>

namespace tavo {

// Case rules of the profile files and legacy keys: ASCII letters only;
// Shift-JIS bytes compare as they are.
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// 0 to 15 as one upper-case hexadecimal digit.
inline char UpperHexDigit(int n) { return "0123456789ABCDEF"[n & 15]; }

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

inline std::string AsciiUpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}

}  // namespace tavo
