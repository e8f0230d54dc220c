#pragma once

#include <string_view>

#include "settings/settings_record.h"

namespace tavo {

// Reads the legacy settings file "tavo.dat" into the record: lines of a
// five-character key, "=", and blank-separated tokens. Fields whose key does
// not occur keep their values, except the ones the legacy file never had,
// which get fixed values afterwards.
void ReadLegacySettings(std::string_view fileBytes, TSettings& settings);

}  // namespace tavo
