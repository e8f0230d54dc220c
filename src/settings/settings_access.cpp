#include "settings/settings_access.h"

#include "platform/settings_folder.h"
#include "settings/settings_keys.h"

namespace tavo {

SettingsStore CurrentSettingsStore() {
    platform::SettingsLocation where = platform::FindSettingsLocation();
    return SettingsStore(std::move(where.folder), std::move(where.legacyFolder));
}

TSettings ReadStoredSettings() {
    // The record starts from the factory values, so that short lists leave
    // defined entries behind.
    TSettings s = FactorySettings();
    CurrentSettingsStore().read(s);
    return s;
}

}  // namespace tavo
