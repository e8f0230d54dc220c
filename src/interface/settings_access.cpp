#include "interface/settings_access.h"

#include "platform/settings_folder.h"
#include "settings/settings_keys.h"

namespace tavo {

SettingsStore CurrentSettingsStore() { return SettingsStore(platform::SettingsFolder()); }

TSettings ReadStoredSettings() {
    // The record starts from the factory values, so that short lists leave
    // defined entries behind.
    TSettings s = FactorySettings();
    CurrentSettingsStore().read(s);
    return s;
}

}  // namespace tavo
