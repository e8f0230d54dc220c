#include "cli/audit_command.h"

#include "cli/jwc_input.h"
#include "cli/json_text.h"
#include "jwc/jwc_audit.h"

namespace tavo::cli {

const char* const kAuditHelp =
    "usage: tavo audit FILE.jwc... [--json]\n"
    "\n"
    "Reads each drawing as a strict reader of .jwc files does and lists what such a reader\n"
    "refuses (error) or warns about (warning), one line per finding:\n"
    "  FILE:OFFSET: SEVERITY CODE: what is wrong, naming the record (its kind and its index\n"
    "  from 0, as the Get exports count)\n"
    "then a line with the number of findings, or \"clean\". The codes are stable; the README's\n"
    "section on tavo audit and docs/audit.md describe each. At most 100 findings of a code\n"
    "are listed for a file; all are counted. With --json the result is a JSON array with one\n"
    "object per file.\n"
    "\n"
    "Status: 0 when every file is clean, 1 when a file has findings or cannot be read, 2 for\n"
    "a command line that cannot be used. FILE may be - (stdin).\n"
    "\n"
    "examples:\n"
    "  tavo audit plan.jwc\n"
    "  tavo audit --json *.jwc > findings.json\n";

namespace {

std::string plural(uint64_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

std::string asText(const std::string& name, const JwcAudit& audit) {
    std::string out;
    for (const AuditFinding& f : audit.findings)
        out += name + ":" + std::to_string(f.offset) + ": " + AuditSeverityName(AuditCodeSeverity(f.code)) + " " +
               AuditCodeName(f.code) + ": " + f.message + "\n";
    for (std::size_t c = 0; c < kAuditCodeCount; ++c) {
        if (audit.counts[c] > kListedPerCode)
            out += name + ": " + std::to_string(audit.counts[c] - kListedPerCode) + " more " +
                   AuditCodeName(static_cast<AuditCode>(c)) + " findings not listed\n";
    }
    if (audit.clean()) return out + name + ": clean\n";
    return out + name + ": " + plural(audit.total(), "finding") + " (" +
           plural(audit.count(AuditSeverity::Error), "error") + ", " +
           plural(audit.count(AuditSeverity::Warning), "warning") + ")\n";
}

std::string findingJson(const AuditFinding& f) {
    const bool record = f.record != AuditRecord::None;
    return JsonObject()
        .text("code", AuditCodeName(f.code))
        .text("severity", AuditSeverityName(AuditCodeSeverity(f.code)))
        .number("offset", static_cast<long long>(f.offset))
        .raw("record", record ? JsonString(AuditRecordName(f.record)) : "null")
        .raw("index", record ? std::to_string(f.index) : "null")
        .text("message", f.message)
        .str();
}

std::string asJson(const std::string& name, const JwcAudit& audit) {
    JsonObject counts;
    for (std::size_t c = 0; c < kAuditCodeCount; ++c)
        if (audit.counts[c] > 0) counts.number(AuditCodeName(static_cast<AuditCode>(c)), static_cast<long long>(audit.counts[c]));
    std::string findings;
    for (const AuditFinding& f : audit.findings) findings += (findings.empty() ? "\n    " : ",\n    ") + findingJson(f);
    return JsonObject()
        .text("file", name)
        .raw("clean", audit.clean() ? "true" : "false")
        .number("errors", static_cast<long long>(audit.count(AuditSeverity::Error)))
        .number("warnings", static_cast<long long>(audit.count(AuditSeverity::Warning)))
        .raw("counts", counts.str())
        .raw("findings", findings.empty() ? "[]" : "[" + findings + "\n  ]")
        .str();
}

}  // namespace

int RunAudit(const std::vector<std::string>& argv) {
    return DescribeEachJwcInput(
        argv,
        [](const std::string& file, const std::string& name, bool json) {
            const JwcAudit audit = AuditJwcInput(file);
            return JwcInputEntry{json ? asJson(name, audit) : asText(name, audit), !audit.clean()};
        },
        "");
}

}  // namespace tavo::cli
