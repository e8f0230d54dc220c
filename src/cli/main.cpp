// tavo: the library's tasks from the command line, with CSV files standing
// in for the worksheet.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "cli/cli_args.h"
#include "cli/config_command.h"
#include "cli/export_command.h"
#include "cli/jwc_commands.h"
#include "cli/render_command.h"
#include "cli/view_command.h"
#include "platform/encoding.h"

namespace {

constexpr std::string_view kUsage =
    "usage:\n"
    "  tavo info FILE.jwc                 paper, scale, counts and comments\n"
    "  tavo dump FILE.jwc [-o OUT.csv] [--utf8]\n"
    "                                     one CSV row per record, drawing units as stored\n"
    "  tavo build IN.csv -o OUT.jwc [--paper N] [--scale N] [--mm] [--utf8]\n"
    "                                     the reverse of dump; --mm reads coordinates as\n"
    "                                     millimetres on the sheet, as the host passes them\n"
    "  tavo jwt FILE.jwc [--clipboard]    the drawing as JWT text, to stdout or the clipboard\n"
    "  tavo convert FILE.jwc -o OUT       through an export drawing to OUT.txt (JWW), OUT.jwt\n"
    "                                     or OUT.jwc\n"
    "  tavo export IN.csv -o OUT [--to jwc|jww] [--utf8]\n"
    "                                     worksheet rows (AddLine, AddText, AddTextV, AddCircle,\n"
    "                                     AddSolid, Comment) into a drawing made from the stored\n"
    "                                     settings; .jwc by the name's extension, else JWW\n"
    "  tavo render FILE.jwc -o OUT.png [--size WxH] [--select-all]\n"
    "  tavo render --export IN.csv -o OUT.png [--utf8] [--size WxH] [--select-all]\n"
    "                                     the drawing as the preview shows it, fitted to the\n"
    "                                     paper (default size 1123x794); no display needed\n"
    "  tavo config                        the settings as the library reads them\n"
    "  tavo config set KEY VALUE          writes one key of tavo.ini\n";

int run(const std::string& command, const std::vector<std::string>& rest) {
    using namespace tavo::cli;
    if (command == "info") return RunInfo(rest, std::cout);
    if (command == "dump") return RunDump(rest, std::cout);
    if (command == "build") return RunBuild(rest);
    if (command == "config") return RunConfig(rest, std::cout);
    if (command == "jwt") return RunJwt(rest, std::cout);
    if (command == "convert") return RunConvert(rest);
    if (command == "export") return RunExport(rest);
    if (command == "render") return RunRender(rest);
    if (command == "view") return RunView(rest);
    if (command == "help" || command == "--help" || command == "-h") {
        std::cout << kUsage;
        return 0;
    }
    throw UsageError{"unknown command \"" + command + "\""};
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): main's arguments
    if (args.size() < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    try {
        return run(args[1], rest);
    } catch (const tavo::cli::UsageError& e) {
        std::cerr << "tavo: " << e.message << "\n" << kUsage;
        return 2;
    } catch (const tavo::Error& e) {
        // The file name came from the command line as it is; only the
        // library's own text is Shift-JIS.
        if (!e.file().empty())
            std::cerr << "tavo: " << e.file() << ": " << tavo::platform::Cp932ToUtf8(e.detail()) << "\n";
        else
            std::cerr << "tavo: " << tavo::platform::Cp932ToUtf8(e.message()) << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "tavo: " << e.what() << "\n";
        return 1;
    }
}
