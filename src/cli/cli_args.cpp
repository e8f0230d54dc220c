#include "cli/cli_args.h"

#include <algorithm>

#include "cli/number_text_cli.h"

namespace tavo::cli {

Args::Args(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
           const std::vector<std::string>& flags) {
    const auto listed = [](const std::vector<std::string>& list, const std::string& a) {
        return std::find(list.begin(), list.end(), a) != list.end();
    };
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (listed(valued, a)) {
            if (i + 1 == argv.size()) throw UsageError{a + " needs a value"};
            values_[a] = argv[++i];
        } else if (listed(flags, a)) {
            values_[a] = "";
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError{"unknown option " + a};
        } else {
            positional_.push_back(a);
        }
    }
}

std::string Args::value(const std::string& name, const std::string& fallback) const {
    const auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

int Args::intValue(const std::string& name, int fallback, int min, int max) const {
    if (!has(name)) return fallback;
    const std::string text = value(name);
    int v = 0;
    if (!ParseWhole(text, v) || v < min || v > max)
        throw UsageError{name + " needs a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                         ", not \"" + text + "\""};
    return v;
}

}  // namespace tavo::cli
