#include "cli/render_command.h"

#include "base/error.h"
#include "base/file_save.h"
#include "cli/cli_args.h"
#include "cli/number_text_cli.h"
#include "cli/csv_row.h"
#include "cli/export_command.h"
#include "cli/workbook_command.h"
#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "export/sheet_conversion.h"
#include "gui/control_image.h"
#include "gui/offscreen_gui.h"
#include "interface/settings_access.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_reader.h"
#include "viewer/jw_brws.h"

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

int RunRender(const std::vector<std::string>& argv) {
    const Args args(argv, {"-o", "--size", "--export", "--sheet", "--range"}, {"--select-all", "--utf8"});
    const bool fromSheet = args.has("--export");
    if (fromSheet ? !args.positional().empty() : args.positional().size() != 1)
        throw UsageError{"give one FILE.jwc, or --export IN.csv"};
    if (!args.has("-o")) throw UsageError{"render needs -o OUT.png"};
    int width = 1123, height = 794;  // A4 landscape at 96 dots per inch
    if (args.has("--size")) ParseSize(args.value("--size"), width, height);

    TJwObject drawing;
    if (fromSheet) {
        const std::string input = args.value("--export");
        ApplySettings(drawing, ReadStoredSettings());
        ReplaySheetRows(drawing, ParseCsv(readWholeFile(input)), args.has("--utf8"), input);
    } else if (IsWorkbookInput(args.positional())) {
        LoadWorkbookDrawing(args.positional()[0], args, drawing);
    } else {
        TJwcFile file;
        LoadJwcFile(file, args.positional()[0]);
        ImportJwc(file, drawing);
    }

    OffscreenGui gui;
    TJwBrws control;
    control.SetSize(width, height);
    control.Drawing = &drawing;
    control.FitPaper();
    if (args.has("--select-all")) control.SelectAll();
    const std::string output = args.value("-o");
    if (!PaintControlImage(control).save(QString::fromStdString(output), "PNG"))
        throw Error(output, "cannot write the PNG image", output + ": cannot write the PNG image");
    return 0;
}

}  // namespace tavo::cli
