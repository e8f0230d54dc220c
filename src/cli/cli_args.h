#pragma once

#include <map>
#include <string>
#include <vector>

namespace tavo::cli {

// Thrown for a command line that cannot be used; main prints the command's
// usage after the message unless the message is enough.
struct UsageError {
    std::string message;
    bool withUsage = true;  // false: the message says all (a value out of its range)
};

// Positional arguments and options: "--name value", "--name=value" and
// "--flag". "--" ends the options; a lone "-" is a positional argument
// (standard input or output).
class Args {
public:
    // `valued` lists the options that take a value ("-o" included).
    Args(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
         const std::vector<std::string>& flags);

    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& name) const { return values_.count(name) > 0; }
    std::string value(const std::string& name, const std::string& fallback = "") const;

    // The one positional argument; `what` names it in the complaint.
    const std::string& onlyPositional(const std::string& what) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
};

// Whether the command line asks for help ("-h" or "--help" before "--").
bool AsksForHelp(const std::vector<std::string>& argv);

}  // namespace tavo::cli
