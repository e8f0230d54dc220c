#include "base/jw_text.h"

#include "base/sjis_char.h"

namespace tavo {

namespace {

int EscapeMode(char c) {
    switch (c) {
        case 'u': return 1;
        case 'd': return 2;
        case 'c': return 3;
        case 'o': return 4;
        case 'b': return 5;
        case 'B': return 6;
        default: return 0;
    }
}

}  // namespace

std::size_t CharBytesAt(std::string_view text, std::size_t i) {
    return IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

int EscapeAt(std::string_view text, std::size_t i) {
    if (text[i] != '^' || i + 1 >= text.size()) return 0;
    return EscapeMode(text[i + 1]);
}

int TextCells(std::string_view text) {
    int cells = 0;
    int mode = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t cb = CharBytesAt(text, i);
        if (cb == 1) {
            if (const int m = EscapeAt(text, i)) {
                mode = m;  // a second escape replaces the first
                i += 2;
                continue;
            }
        }
        if (mode <= 3) cells += static_cast<int>(cb);
        mode = 0;
        i += cb;
    }
    return cells;
}

}  // namespace tavo
