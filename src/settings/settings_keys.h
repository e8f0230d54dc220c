#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_record.h"

namespace tavo {

// One key of the record in "tavo.ini": where it lives, the text read when it
// is missing, how a text goes into the record and how the record's value is
// written.
struct SettingsKey {
    const char* section;
    const char* name;
    const char* defaultText;
    void (*apply)(TSettings& settings, std::string_view text);
    std::string (*format)(const TSettings& settings);
};

// The 21 record keys in the order they are written.
const std::vector<SettingsKey>& RecordKeys();

// String slots 1..5 of section "Export".
constexpr int kStringSlots = 5;
const char* StringSlotKey(int slot);  // null outside 1..5

// The four dump flags of section "Dump", in record order.
extern const char* const kDumpKeys[4];

extern const char* const kSectionMojiTable;
extern const char* const kSectionExport;
extern const char* const kSectionDump;

// A key of the record by name (case ignored), or null.
const SettingsKey* FindRecordKey(std::string_view name);

// The factory record: every key applied with its default text.
TSettings FactorySettings();

// Booleans: read as integers, any non-zero value true.
int16_t ReadHostBool(std::string_view text, bool fallback);
inline const char* FormatHostBool(int16_t value) { return value != 0 ? "1" : "0"; }

}  // namespace tavo
