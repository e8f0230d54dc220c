#pragma once

#include <string>
#include <string_view>

namespace tavo::platform {

// Shift-JIS (code page 932) to UTF-8 and back. A byte sequence that does
// not convert becomes "?" and the conversion goes on.
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

}  // namespace tavo::platform
