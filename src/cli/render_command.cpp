#include "cli/render_command.h"

#include <algorithm>

#include "base/error.h"
#include "cli/cli_args.h"
#include "cli/export_command.h"
#include "cli/input_kind.h"
#include "cli/jwc_input.h"
#include "cli/number_text_cli.h"
#include "cli/output_rule.h"
#include "cli/run_settings.h"
#include "cli/text_encoding.h"
#include "cli/workbook_command.h"
#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "jwc/jwc_file.h"
#include "qt/drawing_image.h"

namespace tavo::cli {

namespace {

constexpr int kMaxSide = 16384;

// "WxH", each side from 1 to 16384 pixels.
void ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    const auto number = [&](std::string_view part, int& out) {
        return ParseWhole(part, out) && out >= 1 && out <= kMaxSide;
    };
    const std::string_view all(text);
    if (x == std::string::npos || !number(all.substr(0, x), width) || !number(all.substr(x + 1), height))
        throw UsageError{"--size needs WxH with sides from 1 to " + std::to_string(kMaxSide) + ", not \"" + text +
                         "\""};
}

}  // namespace

const char* const kRenderHelp =
    "usage: tavo render FILE.jwc -o OUT.png|- [--size WxH] [--select-all]\n"
    "       tavo render BOOK.xlsx|BOOK.ods -o OUT.png|- [--sheet NAME|N] [--range A1:K40]\n"
    "                   [--size WxH] [--select-all] [--paper A0..A4] [--scale N]\n"
    "                   [--dim-scale F] [--solid|--no-solid] [--settings FILE]\n"
    "       tavo render --export IN.csv -o OUT.png|- [--encoding sjis|utf8] [--size WxH]\n"
    "                   [--select-all]\n"
    "\n"
    "Paints the drawing as the preview window shows it, the paper fitted to an image of\n"
    "WxH pixels (default 1123x794, sides 1-16384), selected entities in red with\n"
    "--select-all. A workbook's sheet, or with --export a worksheet CSV, is made into a\n"
    "drawing with the stored settings, as tavo export makes it (--sheet, --range and the\n"
    "settings for this run as there). Needs no display. FILE and IN.csv may be - (stdin).\n"
    "\n"
    "Units of the output:\n"
    "  OUT.png  PNG image in pixels, the paper fitted to WxH\n"
    "\n"
    "examples:\n"
    "  tavo render plan.jwc -o plan.png\n"
    "  tavo render 見積.xlsx --sheet 2 --paper A1 -o 見積.png --size 2000x1414\n";

int RunRender(const std::vector<std::string>& argv) {
    std::vector<std::string> valued = {"-o", "--size", "--export", "--encoding", "--sheet", "--range"};
    std::vector<std::string> flags = {"--select-all", "--utf8", "--strict"};
    valued.insert(valued.end(), kSettingsOptions.begin(), kSettingsOptions.end());
    flags.insert(flags.end(), kSettingsFlags.begin(), kSettingsFlags.end());
    const Args args(argv, valued, flags);
    const bool fromSheet = args.has("--export");
    if (fromSheet ? !args.positional().empty() : args.positional().size() != 1)
        throw UsageError{"give one FILE.jwc, or --export IN.csv"};
    if (!args.has("-o")) throw UsageError{"render needs -o OUT.png"};
    const std::string input = fromSheet ? args.value("--export") : args.positional()[0];
    Input in(input);
    const bool fromBook = !fromSheet && IsWorkbookInput(in);
    if (!fromBook) RefuseWorkbookOptions(args);
    const bool converted = fromSheet || fromBook;
    if (!converted && std::any_of(argv.begin(), argv.end(), [](const std::string& a) { return IsSettingsOption(a); }))
        throw UsageError{"--paper, --scale, --dim-scale, --solid, --caret and --settings are for workbooks and --export"};
    const RunSettings settings(args, false);
    std::vector<std::string> inputs = settings.inputs();
    inputs.push_back(input);
    const Output output(args.value("-o"), {&kPngOutput}, "", converted ? inputs : std::vector<std::string>{input});
    int width = 1123, height = 794;  // A4 landscape at 96 dots per inch
    if (args.has("--size")) ParseSize(args.value("--size"), width, height);

    TJwObject drawing;
    if (fromSheet) {
        LoadSheetText(drawing, in.read(), in.name(), EncodingOption(args));
    } else if (fromBook) {
        ReportWorkbookNotes(in.name(), LoadBookDrawing(in.file(), in.name(), SheetOptions(args), true, drawing));
    } else {
        TJwcFile file;
        LoadJwcInput(file, in);
        ImportJwc(file, drawing);
    }

    std::string png;
    try {
        png = DrawingPng(drawing, width, height, args.has("--select-all"));
    } catch (const Error& e) {
        throw CommandError{output.name(), e.detail()};
    }
    output.write(png);
    return 0;
}

}  // namespace tavo::cli
