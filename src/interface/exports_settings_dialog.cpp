// The settings dialog's exports. The dialog's windows are not part of this
// build yet: each export returns "closed without OK" and says so.
#include "base/error.h"
#include "interface/export_guard.h"
#include "tavo.h"

namespace {

constexpr int16_t kClosedWithoutOk = 2;

int16_t showSettingsDialog() {
    return tavo::Guarded<int16_t>(kClosedWithoutOk, [](tavo::LibraryState&) -> int16_t {
        throw tavo::Error("the settings dialog is not available in this build");
    });
}

}  // namespace

extern "C" {

TAVO_API int16_t TAVO_CALL ShowExportForm(void) { return showSettingsDialog(); }
TAVO_API int16_t TAVO_CALL ShowDumpForm(void) { return showSettingsDialog(); }
TAVO_API int16_t TAVO_CALL ShowBuildForm(void) { return showSettingsDialog(); }

}  // extern "C"
