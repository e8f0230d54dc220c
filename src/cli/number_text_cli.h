#pragma once

#include <array>
#include <charconv>
#include <string>
#include <string_view>

namespace tavo::cli {

// The whole text as a number of type T; false when it is none or when
// anything is left over.
template <class T>
bool ParseWhole(std::string_view text, T& value) {
    const char* const first = text.data();
    const char* const last = first + text.size();  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): the view's end
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last;
}

// The shortest text that reads back as the same float.
inline std::string ShortestText(float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): the buffer's end
    return std::string(buffer.data(), result.ptr);
}

}  // namespace tavo::cli
