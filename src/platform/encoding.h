#pragma once

#include <string>
#include <string_view>

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

}  // namespace tavo::platform
