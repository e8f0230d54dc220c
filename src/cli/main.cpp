// tavo: the library's tasks from the command line, with CSV files standing
// in for the worksheet.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/audit_command.h"
#include "cli/cli_args.h"
#include "cli/config_command.h"
#include "cli/error_report.h"
#include "cli/export_command.h"
#include "cli/info_command.h"
#include "cli/jwc_commands.h"
#include "cli/jwt_command.h"
#include "cli/render_command.h"
#include "cli/settings_command.h"
#include "cli/text_encoding.h"
#include "cli/view_command.h"

#ifndef TAVO_VERSION
#define TAVO_VERSION "unknown"
#endif

namespace {

using tavo::cli::UsageError;

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>& argv);
    const char* const* help;
};

// One line per command.
const std::vector<Command> kCommands = {
    {"info", "paper, scale, counts and comments of drawings", tavo::cli::RunInfo, &tavo::cli::kInfoHelp},
    {"audit", "what a strict reader of .jwc files refuses or warns about", tavo::cli::RunAudit,
     &tavo::cli::kAuditHelp},
    {"dump", "one CSV row per record of a drawing", tavo::cli::RunDump, &tavo::cli::kDumpHelp},
    {"build", "a drawing from CSV rows (the reverse of dump)", tavo::cli::RunBuild, &tavo::cli::kBuildHelp},
    {"jwt", "a drawing as JWT text, to stdout, a file or the clipboard", tavo::cli::RunJwt, &tavo::cli::kJwtHelp},
    {"convert", "a drawing to a JWW coordinate file, JWT text, .jwc or DXF", tavo::cli::RunConvert,
     &tavo::cli::kConvertHelp},
    {"export", "a workbook's sheet or CSV rows to .jwc, JWW text, DXF, the clipboard or the preview",
     tavo::cli::RunExport, &tavo::cli::kExportHelp},
    {"render", "a drawing or worksheet painted as the preview shows it", tavo::cli::RunRender,
     &tavo::cli::kRenderHelp},
    {"view", "a drawing or worksheet in the preview window (needs a display)", tavo::cli::RunView,
     &tavo::cli::kViewHelp},
    {"config", "the stored settings: show, get or set a key", tavo::cli::RunConfig, &tavo::cli::kConfigHelp},
    {"settings", "the settings dialog of export, dump or build (needs a display)", tavo::cli::RunSettingsDialog,
     &tavo::cli::kSettingsHelp},
};

const Command* find(const std::string& name) {
    for (const Command& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

std::string overview() {
    std::string text =
        "usage: tavo COMMAND [ARGS...]    (tavo COMMAND --help for its options and units)\n"
        "\n";
    for (const Command& c : kCommands) text += "  " + (std::string(c.name) + "          ").substr(0, 10) + c.summary + "\n";
    text +=
        "\n"
        "For every command, -o - writes to stdout and an input - reads stdin (pipes work too);\n"
        "-- ends the options; --opt=value works for every option. Errors go to stderr as\n"
        "\"tavo: FILE: what is wrong\" with status 1, or 2 for a command line that cannot be\n"
        "used.\n"
        "\n"
        "example: tavo export 見積.xlsx -o 見積.jwc\n";
    return text;
}

// The usage lines at the top of a command's help.
std::string usageOf(const Command& c) {
    const std::string help = *c.help;
    return help.substr(0, help.find("\n\n") + 1) + "(tavo " + c.name + " --help tells more)\n";
}

}  // namespace

int main(int argc, char** argv) {
    tavo::cli::UseEnvironmentLocale();
    const std::vector<std::string> args(argv, argv + argc);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): main's arguments
    if (args.size() < 2) {
        std::cerr << overview();
        return 2;
    }
    const std::string& name = args[1];
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    if (name == "--version" || name == "version") {
        std::cout << "tavo " << TAVO_VERSION << "\n";
        return std::cout.flush() ? 0 : 1;
    }
    if (name == "help" || name == "--help" || name == "-h") {
        const Command* c = rest.empty() ? nullptr : find(rest[0]);
        std::cout << (c ? *c->help : overview());
        return std::cout.flush() ? 0 : 1;
    }
    const Command* command = find(name);
    if (!command) {
        std::cerr << "tavo: unknown command \"" << name << "\"\n" << overview();
        return 2;
    }
    if (tavo::cli::AsksForHelp(rest)) {
        std::cout << *command->help;
        return std::cout.flush() ? 0 : 1;
    }
    try {
        return command->run(rest);
    } catch (...) {
        return tavo::cli::ReportFailure(std::current_exception(), usageOf(*command));
    }
}
