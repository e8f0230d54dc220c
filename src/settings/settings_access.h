#pragma once

#include "settings/settings_store.h"

namespace tavo {

// The settings store of the settings folder, found anew on every call.
SettingsStore CurrentSettingsStore();

// The stored settings as a creator reads them into a record of its own.
TSettings ReadStoredSettings();

}  // namespace tavo
