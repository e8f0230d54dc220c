#pragma once

#include <functional>
#include <string>
#include <vector>

#include "jwc/jwc_audit.h"

namespace tavo {
class TJwcFile;
}

namespace tavo::cli {

class Input;

// Reads a .jwc file ("-": standard input) into a new drawing as the
// library's loader does.
void LoadJwcInput(TJwcFile& drawing, const std::string& path);
// The same from an input already opened.
void LoadJwcInput(TJwcFile& drawing, const Input& input);

// What a strict reader finds in a .jwc input ("-": standard input).
JwcAudit AuditJwcInput(const std::string& path);
// Both from one reading of the input.
JwcAudit LoadAndAuditJwcInput(TJwcFile& drawing, const std::string& path);

// What a command that takes several FILE.jwc says about one of them.
struct JwcInputEntry {
    std::string text;       // its text, or with --json its object
    bool findings = false;  // the file is not as it should be: status 1
};
using DescribeJwcInput =
    std::function<JwcInputEntry(const std::string& file, const std::string& name, bool json)>;

// The command line FILE.jwc... [--json] of info and audit: each file
// described in turn, text entries one after another with `between`, JSON
// ones as an array. A file that fails is reported ({"file", "error"} in
// JSON) and the others still go. Status 1 when a file failed or had findings.
int DescribeEachJwcInput(const std::vector<std::string>& argv, const DescribeJwcInput& describe,
                         const std::string& between);

// The scale written in the file's header (the loader itself sets 1).
int32_t StoredScale(const TJwcFile& drawing);

}  // namespace tavo::cli
