#include "cli/view_command.h"

#include <iostream>

#include "base/error.h"
#include "base/file_save.h"
#include "cli/cli_args.h"
#include "cli/export_command.h"
#include "export/sheet_conversion.h"
#include "interface/library_state.h"
#include "interface/settings_access.h"
#include "platform/encoding.h"
#include "tavo.h"

namespace tavo::cli {

int RunView(const std::vector<std::string>& argv) {
    const Args args(argv, {"--export"}, {"--utf8"});
    const bool fromSheet = args.has("--export");
    if (fromSheet ? !args.positional().empty() : args.positional().size() != 1)
        throw UsageError{"give one FILE.jwc, or --export IN.csv"};
    LibraryState& state = State();
    const std::string input = fromSheet ? args.value("--export") : args.positional()[0];
    const char* name = input.c_str();
    int32_t result = 0;
    std::string failure;
    // Loaded here, so that a bad file is reported with its name; shown
    // through the exports, as a host shows it.
    if (fromSheet) {
        auto drawing = std::make_unique<TJwObject>();
        ApplySettings(*drawing, ReadStoredSettings());
        ReplaySheetRows(*drawing, ParseCsv(readWholeFile(input)), args.has("--utf8"), input);
        state.obj = std::move(drawing);
        result = ShowJwBrws(&name);
        failure = state.lastError;
        ObjDestroy();
    } else {
        state.jwc.create(3, 1);
        state.jwc.loadFrom(input);
        result = ShowJwBrwsFromJwc(&name);
        failure = state.lastError;
        JwcDestroy();
    }
    if (failure.empty()) return 0;
    // Not shown (no display), or shown but its keys not kept.
    if (result == 0) throw Error(failure);
    std::cerr << "tavo: " << platform::Cp932ToUtf8(failure) << "\n";
    return 1;
}

}  // namespace tavo::cli
