#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tavo {

// The text as an integer, or `fallback` (unclamped) when it is none;
// otherwise raised to `min`, then lowered to `max`.
int32_t StrToIntRange(std::string_view text, int32_t fallback, int32_t min, int32_t max);
// The same for a decimal fraction.
double StrToFloatRange(std::string_view text, double fallback, double min, double max);

// Walks a comma-separated list and hands each item, trimmed, to `store` with
// its entry index, for at most `capacity` entries. A trailing comma adds no
// empty item; an empty text stores nothing. Returns the items stored.
std::size_t ForEachListItem(std::string_view text, std::size_t capacity,
                            const std::function<void(std::size_t, std::string_view)>& store);

// "%d" then ",%d" for every further entry.
template <class T, std::size_t N>
std::string FormatList(const T (&entries)[N]) {
    std::string out;
    for (const T& entry : entries) {
        if (!out.empty()) out += ',';
        out += std::to_string(+entry);
    }
    return out;
}

}  // namespace tavo
