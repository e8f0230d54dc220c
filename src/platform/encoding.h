#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tavo::platform {

// Shift-JIS (code page 932) to UTF-8 and back. A byte sequence that does
// not convert becomes "?" and the conversion goes on.
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

// Between any two of iconv's character sets, lossy as above.
std::string ConvertCharset(std::string_view text, const char* from, const char* to);
// The same without replacing anything: false when a character has no form
// in `to` or the text is not valid in `from`; `failedAt` is then the offset
// of its first byte.
bool ConvertCharsetExact(std::string_view text, const char* from, const char* to, std::string& out,
                         std::size_t& failedAt);

// Utf8ToCp932 for many texts: opening a converter costs more than
// converting a short text, so this one stays open, and it remembers what
// each character became (texts of a sheet share most of their characters).
class Utf8ToCp932Converter {
public:
    Utf8ToCp932Converter();
    ~Utf8ToCp932Converter();
    Utf8ToCp932Converter(const Utf8ToCp932Converter&) = delete;
    Utf8ToCp932Converter& operator=(const Utf8ToCp932Converter&) = delete;

    std::string operator()(std::string_view utf8) const { return toCp932(utf8, nullptr); }
    // The same; the characters that have no Shift-JIS form (each became
    // "?") are added to `unmapped` as code points.
    std::string operator()(std::string_view utf8, std::u32string& unmapped) const { return toCp932(utf8, &unmapped); }

private:
    std::string toCp932(std::string_view utf8, std::u32string* unmapped) const;

    void* cd_;
    mutable std::unordered_map<uint32_t, std::string> known_;  // by the UTF-8 bytes of a character
};

}  // namespace tavo::platform
