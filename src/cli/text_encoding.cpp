#include "cli/text_encoding.h"

#include <langinfo.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdio>

#include "base/ascii_case.h"
#include "cli/cli_args.h"
#include "platform/encoding.h"

namespace tavo::cli {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kCookie = "# encoding: ";

// Length of the UTF-8 sequence at `p`, 0 when none starts there (overlong
// forms, surrogates and values past U+10FFFF are none).
std::size_t utf8SequenceAt(std::string_view s, std::size_t p) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b = byte(p);
    if (b < 0x80) return 1;
    std::size_t n = 0;
    unsigned char lowMin = 0x80, lowMax = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) lowMin = 0xA0;
        if (b == 0xED) lowMax = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) lowMin = 0x90;
        if (b == 0xF4) lowMax = 0x8F;
    } else {
        return 0;
    }
    if (p + n > s.size()) return 0;
    if (byte(p + 1) < lowMin || byte(p + 1) > lowMax) return 0;
    for (std::size_t i = 2; i < n; ++i)
        if (byte(p + i) < 0x80 || byte(p + i) > 0xBF) return 0;
    return n;
}

bool validUtf8WithHighBytes(std::string_view s) {
    bool high = false;
    for (std::size_t p = 0; p < s.size();) {
        const std::size_t n = utf8SequenceAt(s, p);
        if (n == 0) return false;
        high = high || n > 1;
        p += n;
    }
    return high;
}

TextEncoding cookieEncoding(std::string_view bytes) {
    if (bytes.substr(0, kCookie.size()) != kCookie) return TextEncoding::Detect;
    std::string_view name = bytes.substr(kCookie.size());
    name = name.substr(0, name.find_first_of("\r\n"));
    for (const char* utf8 : {"utf-8", "utf8"})
        if (EqualsIgnoringAsciiCase(name, utf8)) return TextEncoding::Utf8;
    for (const char* sjis : {"shift_jis", "sjis", "cp932"})
        if (EqualsIgnoringAsciiCase(name, sjis)) return TextEncoding::ShiftJis;
    return TextEncoding::Detect;
}

// "平" (U+5E73) style: the character as written and its code point.
std::string describeCharacter(std::string_view utf8, std::size_t at) {
    const std::size_t n = std::max<std::size_t>(utf8SequenceAt(utf8, at), 1);
    const std::string_view sequence = utf8.substr(at, n);
    uint32_t code = static_cast<unsigned char>(sequence[0]);
    if (n > 1) {
        code &= 0x7Fu >> n;
        for (std::size_t i = 1; i < n; ++i) code = (code << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    }
    std::array<char, 16> hex{};
    if (n == 1 && code >= 0x80) {
        std::snprintf(hex.data(), hex.size(), "0x%02X", static_cast<unsigned>(code));
        return std::string("the byte ") + hex.data() + ", which is not UTF-8,";
    }
    std::snprintf(hex.data(), hex.size(), "U+%04X", static_cast<unsigned>(code));
    return "\"" + std::string(sequence) + "\" (" + hex.data() + ")";
}

std::string localeCharset() {
    const char* set = nl_langinfo(CODESET);
    std::string name = set ? set : "";
    if (name.empty() || name == "ANSI_X3.4-1968" || EqualsIgnoringAsciiCase(name, "ASCII")) return "UTF-8";
    return name;
}

const std::string& personCharset() {
    static const std::string charset = localeCharset();
    return charset;
}

}  // namespace

TextEncoding EncodingOption(const Args& args) {
    TextEncoding chosen = TextEncoding::Detect;
    if (args.has("--encoding")) {
        const std::string name = args.value("--encoding");
        if (EqualsIgnoringAsciiCase(name, "utf8") || EqualsIgnoringAsciiCase(name, "utf-8"))
            chosen = TextEncoding::Utf8;
        else if (EqualsIgnoringAsciiCase(name, "sjis") || EqualsIgnoringAsciiCase(name, "shift_jis") ||
                 EqualsIgnoringAsciiCase(name, "cp932"))
            chosen = TextEncoding::ShiftJis;
        else
            throw UsageError{"--encoding takes sjis or utf8, not \"" + name + "\""};
    }
    if (args.has("--utf8")) {
        if (chosen == TextEncoding::ShiftJis) throw UsageError{"--utf8 and --encoding sjis contradict each other"};
        chosen = TextEncoding::Utf8;
    }
    return chosen;
}

TextEncoding DetectEncoding(std::string_view bytes) {
    if (bytes.substr(0, kBom.size()) == kBom) return TextEncoding::Utf8;
    const TextEncoding declared = cookieEncoding(bytes);
    if (declared != TextEncoding::Detect) return declared;
    return validUtf8WithHighBytes(bytes) ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

std::string TextFileToShiftJis(std::string bytes, TextEncoding encoding, const std::string& file) {
    const bool bom = bytes.compare(0, kBom.size(), kBom) == 0;
    if (encoding == TextEncoding::Detect) encoding = DetectEncoding(bytes);
    if (encoding == TextEncoding::ShiftJis) {
        if (bom) throw CommandError{file, "starts with a UTF-8 byte-order mark but is read as Shift-JIS"};
        return bytes;
    }
    if (bom) bytes.erase(0, kBom.size());
    std::string out;
    std::size_t failedAt = 0;
    if (platform::ConvertCharsetExact(bytes, "UTF-8", "CP932", out, failedAt)) return out;
    const auto line = 1 + std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(failedAt), '\n');
    throw CommandError{file, "line " + std::to_string(line) + ": " + describeCharacter(bytes, failedAt) +
                                 " has no Shift-JIS form"};
}

std::string EncodingLine(TextEncoding encoding) {
    return std::string(kCookie) + (encoding == TextEncoding::Utf8 ? "utf-8" : "shift_jis") + "\n";
}

std::string ArgumentToUtf8(std::string_view text) {
    if (personCharset() == "UTF-8") return std::string(text);
    return platform::ConvertCharset(text, personCharset().c_str(), "UTF-8");
}

std::string ArgumentToShiftJis(std::string_view text, const std::string& what) {
    const std::string utf8 = ArgumentToUtf8(text);
    std::string out;
    std::size_t failedAt = 0;
    if (platform::ConvertCharsetExact(utf8, "UTF-8", "CP932", out, failedAt)) return out;
    throw CommandError{"", what + ": " + describeCharacter(utf8, failedAt) + " has no Shift-JIS form"};
}

std::string Cp932ForPerson(std::string_view cp932) {
    return platform::ConvertCharset(cp932, "CP932", personCharset().c_str());
}

std::string Utf8ForPerson(std::string_view utf8) {
    if (personCharset() == "UTF-8") return std::string(utf8);
    return platform::ConvertCharset(utf8, "UTF-8", personCharset().c_str());
}

TextEncoding LocaleEncoding() {
    const std::string& set = personCharset();
    if (set == "UTF-8") return TextEncoding::Utf8;
    for (const char* sjis : {"SHIFT_JIS", "SJIS", "CP932", "WINDOWS-31J"})
        if (EqualsIgnoringAsciiCase(set, sjis)) return TextEncoding::ShiftJis;
    return TextEncoding::Detect;
}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

void UseEnvironmentLocale() {
    // Only the character set: numbers keep their full stops.
    std::setlocale(LC_CTYPE, "");
}

}  // namespace tavo::cli
