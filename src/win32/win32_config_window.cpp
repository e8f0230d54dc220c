// The settings dialog the exports show: the native one.
#include "forms/form_windows.h"
#include "win32/win32_config_form.h"

namespace tavo {

std::unique_ptr<ConfigWindow> gui::CreateConfigWindow(ConfigMode mode, SettingsStore settings) {
    return std::make_unique<win32::Win32ConfigForm>(mode, std::move(settings));
}

}  // namespace tavo
