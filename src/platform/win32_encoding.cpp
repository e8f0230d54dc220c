// Text conversion through the system's code pages. It works a character at
// a time, so that a character without a form in the target, or bytes that
// are no character, are met at the same place as iconv meets them on Linux:
// the lossy functions put one "?" for the first byte there and go on.
#include <windows.h>

#include <cctype>
#include <stdexcept>
#include <string>

#include "platform/encoding.h"

namespace tavo::platform {

namespace {

UINT codePageOf(const char* name) {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "CP932" || upper == "SHIFT_JIS" || upper == "SHIFT-JIS" || upper == "SJIS" ||
        upper == "WINDOWS-31J" || upper == "MS932")
        return 932;
    if (upper == "UTF-8" || upper == "UTF8") return CP_UTF8;
    if (upper == "CP1252" || upper == "WINDOWS-1252") return 1252;
    if (upper == "ASCII" || upper == "US-ASCII" || upper == "ANSI_X3.4-1968") return 20127;
    throw std::runtime_error(std::string("no converter from ") + name);
}

// The bytes of the character that starts at `at`.
std::size_t characterLength(std::string_view text, std::size_t at, UINT codePage) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    if (codePage == CP_UTF8)
        length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    else if (IsDBCSLeadByteEx(codePage, lead))
        length = 2;
    return std::min(length, text.size() - at);
}

// Bytes Windows' table takes as characters of their own (U+0080, U+F8F0 to
// U+F8F3) but that are none in code page 932 as iconv knows it.
bool unassigned932(std::string_view character) {
    if (character.size() != 1) return false;
    const auto b = static_cast<unsigned char>(character[0]);
    return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

// One character, or nothing when it has no form in `to`.
bool convertOne(std::string_view character, UINT from, UINT to, std::string& out) {
    if (from == 932 && unassigned932(character)) return false;
    wchar_t wide[4];
    const int n = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, character.data(), static_cast<int>(character.size()),
                                      &wide[0], 4);
    if (n <= 0) return false;
    char bytes[16];
    BOOL usedDefault = FALSE;
    const bool utf8 = to == CP_UTF8;
    const int m = WideCharToMultiByte(to, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, &wide[0], n, &bytes[0], sizeof bytes,
                                      nullptr, utf8 ? nullptr : &usedDefault);
    if (m <= 0 || usedDefault) return false;
    out.append(&bytes[0], static_cast<std::size_t>(m));
    return true;
}

std::string convert(std::string_view text, const char* fromName, const char* toName, std::size_t* failedAt) {
    const UINT from = codePageOf(fromName);
    const UINT to = codePageOf(toName);
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = characterLength(text, at, from);
        if (convertOne(text.substr(at, length), from, to, out)) {
            at += length;
            continue;
        }
        if (failedAt) {
            *failedAt = at;
            break;
        }
        out += '?';
        ++at;
    }
    return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) { return convert(cp932, "CP932", "UTF-8", nullptr); }

std::string Utf8ToCp932(std::string_view utf8) { return convert(utf8, "UTF-8", "CP932", nullptr); }

std::string ConvertCharset(std::string_view text, const char* from, const char* to) {
    return convert(text, from, to, nullptr);
}

bool ConvertCharsetExact(std::string_view text, const char* from, const char* to, std::string& out,
                         std::size_t& failedAt) {
    failedAt = std::string_view::npos;
    out = convert(text, from, to, &failedAt);
    return failedAt == std::string_view::npos;
}

}  // namespace tavo::platform
