// The settings dialog the exports show: the native one.
#include "win32/windows.h"
#include "win32/config_form.h"

namespace tavo {

std::unique_ptr<ConfigWindow> win32::CreateConfigWindow(ConfigMode mode, SettingsStore settings) {
    return std::make_unique<win32::Win32ConfigForm>(mode, std::move(settings));
}

}  // namespace tavo
