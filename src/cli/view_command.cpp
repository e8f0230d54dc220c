#include "cli/view_command.h"

#include <algorithm>

#include "base/error.h"
#include "cli/cli_args.h"
#include "cli/export_command.h"
#include "cli/input_kind.h"
#include "cli/jwc_input.h"
#include "cli/run_settings.h"
#include "cli/text_encoding.h"
#include "cli/workbook_command.h"
#include "workbook/export_calls.h"
#include "export/jw_object.h"
#include "jwc/jwc_file.h"
#include "tavo.h"

namespace tavo::cli {

const char* const kViewHelp =
    "usage: tavo view FILE.jwc|-\n"
    "       tavo view BOOK.xlsx|BOOK.ods [--sheet NAME|N] [--range A1:K40] [--paper A0..A4]\n"
    "                 [--scale N] [--dim-scale F] [--solid|--no-solid] [--settings FILE]\n"
    "       tavo view --export IN.csv|- [--encoding sjis|utf8]\n"
    "\n"
    "Opens the preview window and waits until it is closed: a drawing as it is; a\n"
    "workbook's sheet (--sheet, --range and the settings options as in tavo export)\n"
    "or, with --export, worksheet CSV rows made into a drawing with the stored settings,\n"
    "as tavo export makes it. Zoom and move with two-button drags\n"
    "and the arrow keys; select a range or everything and copy it; save it; the help\n"
    "button opens the window's help page in the desktop's browser. The window keeps its\n"
    "size and the last file saved in tavo.ini. FILE and IN.csv may be - (stdin).\n"
    "\n"
    "Needs a display (DISPLAY or WAYLAND_DISPLAY); without one, or when it cannot be\n"
    "opened, tavo view fails at once with status 1.\n"
    "\n"
    "Units of what the window writes:\n"
    "  .jwc       JW_CAD drawing in drawing units; an existing file becomes .bak\n"
    "  .txt       JWW coordinate file: real-world millimetres (paper millimetres x group\n"
    "             scale)\n"
    "  clipboard  JWT text of the selection in Shift-JIS, real-world millimetres\n"
    "\n"
    "examples:\n"
    "  tavo view plan.jwc\n"
    "  tavo view 見積.xlsx --sheet 材料表\n";

int ShowCurrentExportDrawing(const std::string& fileName) {
    const char* name = fileName.c_str();
    ShowJwBrws(&name);
    const std::string failure = workbook::TakeLastLibraryError();
    ObjDestroy();
    // Not shown (no display), or shown but its keys not kept.
    if (!failure.empty()) throw Error(failure);
    return 0;
}

int ShowInPreview(Input& in, const workbook::WorkbookExportOptions& sheet, TextEncoding encoding,
                  const std::string& fileName) {
    if (IsWorkbookInput(in)) {
        MakeBookDrawingCurrent(in.file(), in.name(), sheet, false);
    } else {
        workbook::LibraryExportCalls calls;
        ReplaySheetText(calls, in.read(), in.name(), encoding);
    }
    return ShowCurrentExportDrawing(fileName);
}

int RunView(const std::vector<std::string>& argv) {
    std::vector<std::string> valued = {"--export", "--encoding", "--sheet", "--range"};
    std::vector<std::string> flags = {"--utf8", "--strict"};
    valued.insert(valued.end(), kSettingsOptions.begin(), kSettingsOptions.end());
    flags.insert(flags.end(), kSettingsFlags.begin(), kSettingsFlags.end());
    const Args args(argv, valued, flags);
    const bool fromSheet = args.has("--export");
    if (fromSheet ? !args.positional().empty() : args.positional().size() != 1)
        throw UsageError{"give one FILE.jwc or BOOK.xlsx, or --export IN.csv"};
    const std::string input = fromSheet ? args.value("--export") : args.positional()[0];
    Input in(input);
    const bool fromBook = !fromSheet && IsWorkbookInput(in);
    if (!fromBook) RefuseWorkbookOptions(args);
    if (!fromSheet && (args.has("--encoding") || args.has("--utf8")))
        throw UsageError{"--encoding is for CSV rows (--export IN.csv)"};
    // Handed over as a host hands its workbook's name; the window's saves
    // propose the stored FileName all the same.
    const std::string fileName = in.bytes() ? "" : input;
    if (!fromBook && !fromSheet &&
        std::any_of(argv.begin(), argv.end(), [](const std::string& a) { return IsSettingsOption(a); }))
        throw UsageError{"--paper, --scale, --dim-scale, --solid, --caret and --settings are for workbooks and --export"};
    // The window keeps its size in the settings; with options it keeps them in the run's copy.
    const RunSettings settings(args, false);
    // Loaded here, so that a bad file is reported with its name; shown
    // through the exports, as a host shows it.
    if (fromBook) {
        ReportWorkbookNotes(in.name(), MakeBookDrawingCurrent(in.file(), in.name(), SheetOptions(args), true));
        return ShowCurrentExportDrawing(fileName);
    }
    if (fromSheet) return ShowInPreview(in, {}, EncodingOption(args), fileName);
    TJwcFile file;
    LoadJwcInput(file, in);
    // Loaded into a drawing created first, as a host loads one.
    JwcCreate(0, 1);
    workbook::ThrowOnLastLibraryError();
    const char* path = in.file().c_str();
    JwcLoadFrom(&path);
    workbook::ThrowOnLastLibraryError();
    const char* name = fileName.c_str();
    ShowJwBrwsFromJwc(&name);
    const std::string failure = workbook::TakeLastLibraryError();
    JwcDestroy();
    if (!failure.empty()) throw Error(failure);
    return 0;
}

}  // namespace tavo::cli
