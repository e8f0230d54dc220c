#include "settings/settings_convert.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"
#include "base/path_text.h"

namespace tavo {

int32_t StrToIntRange(std::string_view text, int32_t fallback, int32_t min, int32_t max) {
    const std::optional<int32_t> v = parseInt32(text);
    if (!v) return fallback;
    return std::min(std::max(*v, min), max);
}

double StrToFloatRange(std::string_view text, double fallback, double min, double max) {
    const std::optional<double> v = parseFloat(text);
    if (!v || std::isnan(*v)) return fallback;
    return std::min(std::max(*v, min), max);
}

std::size_t ForEachListItem(std::string_view text, std::size_t capacity,
                            const std::function<void(std::size_t, std::string_view)>& store) {
    std::size_t stored = 0;
    std::size_t start = 0;
    while (stored < capacity) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            if (start < text.size()) store(stored++, trimBlanks(text.substr(start)));
            break;
        }
        store(stored++, trimBlanks(text.substr(start, comma - start)));
        start = comma + 1;
    }
    return stored;
}

}  // namespace tavo
