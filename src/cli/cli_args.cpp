#include "cli/cli_args.h"

#include <algorithm>

namespace tavo::cli {

namespace {

bool listed(const std::vector<std::string>& list, const std::string& a) {
    return std::find(list.begin(), list.end(), a) != list.end();
}

bool looksLikeOption(const std::string& a) { return a.size() > 1 && a[0] == '-'; }

}  // namespace

Args::Args(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
           const std::vector<std::string>& flags) {
    const auto store = [this](const std::string& name, const std::string& value) {
        if (!values_.emplace(name, value).second) throw UsageError{name + " is given twice"};
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (optionsEnded || !looksLikeOption(a)) {
            positional_.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = a.rfind("--", 0) == 0 ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, equals);
        if (listed(valued, name)) {
            if (equals != std::string::npos) {
                store(name, a.substr(equals + 1));
            } else {
                if (i + 1 == argv.size()) throw UsageError{name + " needs a value"};
                store(name, argv[++i]);
            }
        } else if (listed(flags, name)) {
            if (equals != std::string::npos) throw UsageError{name + " takes no value"};
            store(name, "");
        } else {
            throw UsageError{"unknown option " + name};
        }
    }
}

std::string Args::value(const std::string& name, const std::string& fallback) const {
    const auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

const std::string& Args::onlyPositional(const std::string& what) const {
    if (positional_.size() != 1) throw UsageError{"give one " + what};
    return positional_[0];
}

bool AsksForHelp(const std::vector<std::string>& argv) {
    for (const std::string& a : argv) {
        if (a == "--") return false;
        if (a == "-h" || a == "--help") return true;
    }
    return false;
}

}  // namespace tavo::cli
