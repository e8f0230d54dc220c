#pragma once

#include <cstddef>
#include <string_view>

namespace tavo {

// Texts as JW_CAD lays them out: Shift-JIS characters, and the "^"
// escapes that raise, lower or lay one character over another.

// Bytes of the character at `i`: 2 for a Shift-JIS lead byte with a byte
// after it, else 1 (a lead byte that ends the text stands alone).
std::size_t CharBytesAt(std::string_view text, std::size_t i);

// Escape mode starting at `i`: "^u" 1, "^d" 2, "^c" 3, "^o" 4, "^b" 5,
// "^B" 6; 0 when no escape starts there.
int EscapeAt(std::string_view text, std::size_t i);

// Half-width cells the text takes: two-byte characters 2, other bytes 1;
// "^u", "^d" and "^c" take nothing themselves, "^o", "^b" and "^B" take
// nothing and neither does the character they lay over the previous one.
int TextCells(std::string_view text);

// The length a text is drawn along its base line, for a character width
// and spacing (each cell is half a character and half a spacing).
inline double DrawnTextLength(std::string_view text, double width, double pitch) {
    return TextCells(text) * (width + pitch) * 0.5;
}

}  // namespace tavo
