// The settings dialog has no native window yet: its exports return "closed
// without OK" and say why.
#include "base/error.h"
#include "forms/form_windows.h"

namespace tavo {

// The signature is every front end's; this one uses neither argument.
std::unique_ptr<ConfigWindow> gui::CreateConfigWindow(ConfigMode, SettingsStore) {  // NOLINT(performance-unnecessary-value-param)
    throw Error("the settings dialog is not available in this build");
}

}  // namespace tavo
