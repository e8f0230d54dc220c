#include "cli/run_settings.h"
#include "cli/info_command.h"

#include <memory>
#include <sstream>

#include "base/geometry.h"
#include "cli/jwc_input.h"
#include "cli/json_text.h"
#include "cli/number_text_cli.h"
#include "cli/output_rule.h"
#include "cli/text_encoding.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_framing.h"
#include "platform/encoding.h"

namespace tavo::cli {

const char* const kInfoHelp =
    "usage: tavo info FILE.jwc... [--json] [--details]\n"
    "\n"
    "What each drawing holds: its paper and scale, how many lines, arcs, texts and points,\n"
    "its two comments, whether saving it again changes anything, and how many problems\n"
    "tavo audit finds in it. --details adds how the file is laid out (units, header\n"
    "blocks, text pool), for those who debug a reader. A file that cannot be read is\n"
    "reported and the others are still shown; the status is then 1. With --json the result\n"
    "is a JSON array with one object per file (\"error\" holds what went wrong); its keys\n"
    "are listed in the README. FILE may be - (stdin) or a pipe.\n"
    "\n"
    "example: tavo info plan.jwc\n"
    "         tavo info --json *.jwc | jq '.[] | .lines'\n";

namespace {

// As a stream prints a float: six significant digits.
std::string sixDigits(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string auditText(const JwcAudit& audit) {
    if (audit.clean()) return "clean";
    const uint64_t n = audit.total();
    return std::to_string(n) + (n == 1 ? " finding" : " findings") + " (tavo audit lists them)";
}

// What a save writes differently, in a user's words.
std::string saveText(const JwcFraming& f) {
    const std::string changes = FramingLines(f).back().second;
    const bool same = f.roundedScales.empty() && f.line1FieldsRewritten.empty() && !f.line2Rewritten;
    return same ? "keeps everything" : "changes " + changes;
}

std::string asText(const std::string& name, const TJwcFile& d, const JwcAudit& audit, bool details) {
    const JwcFraming framing = DescribeFraming(d);
    std::string text = "File: " + name + "\n" + "Paper: " + PaperName(d.paperSize) + " (" +
                       std::to_string(PaperLength(d.paperSize)) + " mm wide)\n" +
                       "Scale: 1:" + std::to_string(StoredScale(d)) + "\n" +
                       "Lines: " + std::to_string(d.senCount()) + "\n" +
                       "Arcs: " + std::to_string(d.enkoCount()) + "\n" +
                       "Texts: " + std::to_string(d.mojiCount()) + "\n" +
                       "Points: " + std::to_string(d.tenCount()) + "\n" +
                       "Comment1: " + Cp932ForPerson(d.comment1) + "\n" +
                       "Comment2: " + Cp932ForPerson(d.comment2) + "\n" +
                       "Saving it again: " + saveText(framing) + "\n" +
                       "Audit: " + auditText(audit) + "\n";
    if (!details) return text;
    text += "Layout:\n  Paper index: " + std::to_string(d.paperSize) + "\n" +
            "  Units per sheet: " + std::to_string(d.unitsPerSheet) + "\n" +
            "  Unit divisor: " + sixDigits(d.unitDivisor) + " mm\n" +
            "  Text area: " + std::to_string(d.textAreaLength) + " bytes\n";
    for (const auto& [label, value] : FramingLines(framing)) text.append("  ").append(label).append(": ").append(value).append("\n");
    return text;
}

// The layout in keys of their own, stable for scripts.
std::string layoutJson(const TJwcFile& d, const JwcFraming& f) {
    std::string rounded;
    for (const JwcFraming::RoundedScale& r : f.roundedScales)
        rounded += (rounded.empty() ? "" : ", ") + JsonObject()
                                                        .number("group", r.group)
                                                        .raw("scale", ShortestText(r.scale))
                                                        .number("written", r.written)
                                                        .str();
    std::string fields;
    for (const int field : f.line1FieldsRewritten) fields += (fields.empty() ? "" : ", ") + std::to_string(field);
    return JsonObject()
        .number("paper_index", d.paperSize)
        .number("units_per_sheet", d.unitsPerSheet)
        .raw("unit_divisor_mm", ShortestText(d.unitDivisor))
        .number("text_area_bytes", d.textAreaLength)
        .text("group_scales", d.oldFormat ? "integer" : "float")
        .number("header_bytes", f.headerBytes)
        .number("header_line1_fields", f.line1Fields)
        .number("temporary_points", f.temporaryPoints)
        .number("text_pool_start", static_cast<long long>(f.textPoolStart))
        .number("name_area_bytes", static_cast<long long>(f.nameAreaBytes))
        .number("unknown_bytes_kept", static_cast<long long>(f.reservedBytesSet))
        .raw("save_rounds_scales", "[" + rounded + "]")
        .raw("save_rewrites_line1_fields", "[" + fields + "]")
        .raw("save_rewrites_line2", f.line2Rewritten ? "true" : "false")
        .str();
}

std::string asJson(const std::string& name, const TJwcFile& d, const JwcAudit& audit) {
    const JwcFraming framing = DescribeFraming(d);
    return JsonObject()
        .text("file", name)
        .text("paper", PaperName(d.paperSize))
        .number("paper_width_mm", static_cast<long long>(PaperLength(d.paperSize)))
        .number("scale", StoredScale(d))
        .number("lines", d.senCount())
        .number("arcs", d.enkoCount())
        .number("texts", d.mojiCount())
        .number("points", d.tenCount())
        .text("comment1", platform::Cp932ToUtf8(d.comment1))
        .text("comment2", platform::Cp932ToUtf8(d.comment2))
        .text("saving_again", saveText(framing))
        .number("audit_findings", static_cast<long long>(audit.total()))
        .raw("layout", layoutJson(d, framing))
        .str();
}

}  // namespace

int RunInfo(const std::vector<std::string>& argv) {
    // --details is info's own; the rest is the command line every FILE.jwc command shares.
    std::vector<std::string> rest;
    bool details = false, ended = false;
    for (const std::string& word : argv) {
        ended = ended || word == "--";
        if (!ended && word == "--details")
            details = true;
        else
            rest.push_back(word);
    }
    return DescribeEachJwcInput(
        rest,
        [details](const std::string& file, const std::string& name, bool json) {
            auto drawing = std::make_unique<TJwcFile>();
            const JwcAudit audit = LoadAndAuditJwcInput(*drawing, file);
            return JwcInputEntry{json ? asJson(name, *drawing, audit) : asText(name, *drawing, audit, details)};
        },
        "\n");
}

}  // namespace tavo::cli
