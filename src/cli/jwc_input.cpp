#include "cli/jwc_input.h"

#include <algorithm>

#include "base/byte_source.h"
#include "cli/cli_args.h"
#include "cli/error_report.h"
#include "cli/input_kind.h"
#include "cli/json_text.h"
#include "cli/output_rule.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_header.h"
#include "jwc/jwc_reader.h"

namespace tavo::cli {

void LoadJwcInput(TJwcFile& drawing, const Input& in) {
    in.expectJwc();
    if (!in.bytes()) {
        LoadJwcFile(drawing, in.path());
        return;
    }
    MemorySource source(*in.bytes());
    ReadJwc(drawing, source, in.name());
}

void LoadJwcInput(TJwcFile& drawing, const std::string& path) { LoadJwcInput(drawing, Input(path)); }

JwcAudit AuditJwcInput(const std::string& path) {
    const Input in(path);
    in.expectJwc();
    if (!in.bytes()) return AuditJwcFile(path);
    MemorySource source(*in.bytes());
    return AuditJwc(source);
}

JwcAudit LoadAndAuditJwcInput(TJwcFile& drawing, const std::string& path) {
    const Input in(path);
    in.expectJwc();
    if (!in.bytes()) {
        LoadJwcFile(drawing, path);
        return AuditJwcFile(path);
    }
    MemorySource forLoad(*in.bytes());
    ReadJwc(drawing, forLoad, in.name());
    MemorySource forAudit(*in.bytes());
    return AuditJwc(forAudit);
}

int DescribeEachJwcInput(const std::vector<std::string>& argv, const DescribeJwcInput& describe,
                         const std::string& between) {
    const Args args(argv, {}, {"--json"});
    const std::vector<std::string>& files = args.positional();
    if (files.empty()) throw UsageError{"give one FILE.jwc or more"};
    if (std::count(files.begin(), files.end(), "-") > 1) throw UsageError{"stdin (-) can be read only once"};
    const bool json = args.has("--json");
    int status = 0;
    std::string out;
    for (const std::string& file : files) {
        const std::string name = InputName(file);
        std::string entry;
        try {
            JwcInputEntry described = describe(file, name, json);
            if (described.findings) status = 1;
            entry = std::move(described.text);
        } catch (...) {
            // The other files are still shown; the status tells.
            status = 1;
            if (!json) {
                WriteStandardOutput(out);
                out.clear();
                ReportFailure(std::current_exception(), "");
                continue;
            }
            entry = JsonObject().text("file", name).text("error", FailureText(std::current_exception())).str();
        }
        if (json)
            out += (out.empty() ? "[\n  " : ",\n  ") + entry;
        else
            out += (&file == &files.front() ? "" : between) + entry;
    }
    if (json) out = out.empty() ? "[]\n" : out + "\n]\n";
    WriteStandardOutput(out);
    return status;
}

int32_t StoredScale(const TJwcFile& drawing) { return ParseHeaderLine1(drawing.head).scale; }

}  // namespace tavo::cli
