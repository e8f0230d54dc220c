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
    "usage: tavo info FILE.jwc... [--json]\n"
    "\n"
    "Paper, scale, units, record counts and comments of each drawing, and how many findings\n"
    "tavo audit has for it. A file that cannot be read is reported and the others are still\n"
    "shown; the status is then 1. With --json the result is a JSON array with one object per\n"
    "file (\"error\" holds what went wrong).\n"
    "FILE may be - (stdin).\n";

namespace {

const char* paperName(int32_t plotSize) {
    static const char* const kNames[] = {"A0", "A1", "A2", "A3", "A4"};
    return plotSize >= 0 && plotSize <= 4 ? kNames[plotSize] : "A4";
}

// As a stream prints a float: six significant digits.
std::string sixDigits(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string framingText(const TJwcFile& d) {
    std::string text;
    for (const auto& [label, value] : FramingLines(DescribeFraming(d)))
        text.append(label).append(": ").append(value).append("\n");
    return text;
}

std::string framingJson(const TJwcFile& d) {
    JsonObject framing;
    for (const auto& [label, value] : FramingLines(DescribeFraming(d))) framing.text(label, value);
    return framing.str();
}

std::string auditText(const JwcAudit& audit) {
    if (audit.clean()) return "clean";
    const uint64_t n = audit.total();
    return std::to_string(n) + (n == 1 ? " finding" : " findings") + " (tavo audit lists them)";
}

std::string asText(const std::string& name, const TJwcFile& d, const JwcAudit& audit) {
    return "File: " + name + "\n" +
           "Paper: " + paperName(d.paperSize) + " (index " + std::to_string(d.paperSize) + ", " +
           std::to_string(PaperLength(d.paperSize)) + " mm)\n" +
           "Scale: " + std::to_string(StoredScale(d)) + "\n" +
           "Units per sheet: " + std::to_string(d.unitsPerSheet) + "\n" +
           "Unit divisor: " + sixDigits(d.unitDivisor) + " mm\n" +
           "Lines: " + std::to_string(d.senCount()) + "\n" +
           "Arcs: " + std::to_string(d.enkoCount()) + "\n" +
           "Texts: " + std::to_string(d.mojiCount()) + "\n" +
           "Points: " + std::to_string(d.tenCount()) + "\n" +
           "Text area: " + std::to_string(d.textAreaLength) + " bytes\n" +
           "Comment1: " + Cp932ForPerson(d.comment1) + "\n" +
           "Comment2: " + Cp932ForPerson(d.comment2) + "\n" + framingText(d) + "Audit: " + auditText(audit) + "\n";
}

std::string asJson(const std::string& name, const TJwcFile& d, const JwcAudit& audit) {
    return JsonObject()
        .text("file", name)
        .text("paper", paperName(d.paperSize))
        .number("paperIndex", d.paperSize)
        .number("paperLengthMm", static_cast<long long>(PaperLength(d.paperSize)))
        .number("scale", StoredScale(d))
        .number("unitsPerSheet", d.unitsPerSheet)
        .raw("unitDivisorMm", ShortestText(d.unitDivisor))
        .number("lines", d.senCount())
        .number("arcs", d.enkoCount())
        .number("texts", d.mojiCount())
        .number("points", d.tenCount())
        .number("textAreaBytes", d.textAreaLength)
        .text("groupScales", d.oldFormat ? "integer" : "float")
        .raw("framing", framingJson(d))
        .number("auditFindings", static_cast<long long>(audit.total()))
        .text("comment1", platform::Cp932ToUtf8(d.comment1))
        .text("comment2", platform::Cp932ToUtf8(d.comment2))
        .str();
}

}  // namespace

int RunInfo(const std::vector<std::string>& argv) {
    return DescribeEachJwcInput(
        argv,
        [](const std::string& file, const std::string& name, bool json) {
            auto drawing = std::make_unique<TJwcFile>();
            const JwcAudit audit = LoadAndAuditJwcInput(*drawing, file);
            return JwcInputEntry{json ? asJson(name, *drawing, audit) : asText(name, *drawing, audit)};
        },
        "\n");
}

}  // namespace tavo::cli
