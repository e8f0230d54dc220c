// The settings dialog in its three modes. With no display each returns 2 at
// once, stores nothing and says so in TavoGetLastError.
#include "forms/config_form.h"
#include "interface/front_end.h"
#include "interface/export_guard.h"
#include "settings/settings_access.h"
#include "tavo.h"

namespace {

int16_t ShowConfig(tavo::ConfigMode mode) {
    return tavo::Guarded<int16_t>(2, [&](tavo::LibraryState& state) -> int16_t {
        // A host with an event loop of its own could call again while the
        // dialog runs; one dialog at a time.
        if (state.configShowing) throw tavo::Error("a settings dialog is open already");
        auto window = tavo::front_end::CreateConfigWindow(mode, tavo::CurrentSettingsStore());
        state.configShowing = true;
        struct Showing {
            tavo::LibraryState& state;
            ~Showing() { state.configShowing = false; }
        } showing{state};
        return tavo::RunConfigForm(*window);
    });
}

}  // namespace

extern "C" {

TAVO_API int16_t TAVO_CALL ShowExportForm(void) { return ShowConfig(tavo::ConfigMode::Export); }
TAVO_API int16_t TAVO_CALL ShowDumpForm(void) { return ShowConfig(tavo::ConfigMode::Dump); }
TAVO_API int16_t TAVO_CALL ShowBuildForm(void) { return ShowConfig(tavo::ConfigMode::Build); }

}  // extern "C"
