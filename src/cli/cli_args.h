#pragma once

#include <map>
#include <string>
#include <vector>

namespace tavo::cli {

// Thrown for a command line that cannot be used; main prints usage.
struct UsageError {
    std::string message;
};

// Positional arguments and "--name value" / "--flag" options.
class Args {
public:
    // `valued` lists the options that take a value ("-o" included).
    Args(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
         const std::vector<std::string>& flags);

    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& name) const { return values_.count(name) > 0; }
    std::string value(const std::string& name, const std::string& fallback = "") const;
    // An integer option within [min, max].
    int intValue(const std::string& name, int fallback, int min, int max) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
};

}  // namespace tavo::cli
