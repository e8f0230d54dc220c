#include "cli/settings_command.h"

#include <iostream>

#include "base/error.h"
#include "cli/cli_args.h"
#include "tavo.h"
#include "workbook/export_calls.h"

namespace tavo::cli {

const char* const kSettingsHelp =
    "usage: tavo settings [export|dump|build]\n"
    "\n"
    "Opens the settings dialog of a task (export, the default; dump; build), the one the\n"
    "spreadsheet shows before it, and waits until it is closed. OK stores what the pages show in tavo.ini and prints \"ok\"; Cancel,\n"
    "Esc or the close box store nothing and print \"cancelled\"; both end with status 0.\n"
    "The settings folder is $TAVO_SETTINGS_DIR, else $XDG_CONFIG_HOME/tavo/, else\n"
    "~/.config/tavo/ (tavo config shows and sets the same keys without a display).\n"
    "The help button opens the page's help in the desktop's browser.\n"
    "\n"
    "Needs a display (DISPLAY or WAYLAND_DISPLAY); without one, or when it cannot be\n"
    "opened, tavo settings fails at once with status 1 and stores nothing.\n"
    "\n"
    "Units of the values the pages edit:\n"
    "  conversion unit      DimScale, 0.035-3.5: paper mm per point of a column or row\n"
    "  scale                the denominator N of 1:N, 1-1000, for all groups or each one\n"
    "  text sizes           0.1 mm on paper: width and height 10-1000, spacing -100-1000\n"
    "  double line spacing  mm on paper, 0-10\n"
    "A value typed out of range is brought into it when stored; an unreadable or empty\n"
    "one takes the default (conversion unit 0.35, scale 100, pens 1, text width 30).\n"
    "\n"
    "examples:\n"
    "  tavo settings\n"
    "  tavo settings dump\n";

int RunSettingsDialog(const std::vector<std::string>& argv) {
    const Args args(argv, {}, {});
    if (args.positional().size() > 1) throw UsageError{"give at most one of export, dump or build"};
    const std::string task = args.positional().empty() ? "export" : args.positional()[0];
    int16_t (*show)() = task == "export" ? ShowExportForm : task == "dump" ? ShowDumpForm
                        : task == "build" ? ShowBuildForm : nullptr;
    if (!show) throw UsageError{"\"" + task + "\" is no task: give export, dump or build"};
    const int16_t result = show();
    const std::string failure = workbook::TakeLastLibraryError();
    if (!failure.empty()) throw Error(failure);
    std::cout << (result == 1 ? "ok" : "cancelled") << "\n";
    return std::cout.flush() ? 0 : 1;
}

}  // namespace tavo::cli
