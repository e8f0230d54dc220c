#include "cli/config_command.h"

#include "base/ascii_case.h"
#include "cli/cli_args.h"
#include "platform/encoding.h"
#include "platform/settings_folder.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace tavo::cli {

namespace {

const char* sourceName(SettingsSource source) {
    switch (source) {
        case SettingsSource::TavoIni: return "tavo.ini";
        case SettingsSource::TavoDat: return "tavo.dat";
        case SettingsSource::Factory: return "factory";
    }
    return "";
}

int print(const SettingsStore& store, std::ostream& out) {
    TSettings s = FactorySettings();
    const SettingsSource source = store.read(s);
    out << "Folder=" << store.folder() << "\n" << "Source=" << sourceName(source) << "\n";
    for (const SettingsKey& key : RecordKeys()) out << key.name << "=" << key.format(s) << "\n";
    for (int slot = 1; slot <= kStringSlots; ++slot)
        out << StringSlotKey(slot) << "=" << platform::Cp932ToUtf8(store.readString(slot)) << "\n";
    TDumpChecks checks;
    store.readDump(checks);
    const int16_t flags[4] = {checks.Line, checks.Circle, checks.String, checks.Dot};
    for (int i = 0; i < 4; ++i) out << kDumpKeys[i] << "=" << FormatHostBool(flags[i]) << "\n";
    return 0;
}

void set(const SettingsStore& store, const std::string& name, const std::string& value) {
    if (const SettingsKey* key = FindRecordKey(name)) {
        // The value goes through the reading rules, so what is stored is
        // what a later read gives back.
        TSettings s = FactorySettings();
        store.read(s);
        key->apply(s, value);
        store.writeKeys({{key->section, key->name, key->format(s)}});
        return;
    }
    for (int slot = 1; slot <= kStringSlots; ++slot) {
        if (EqualsIgnoringAsciiCase(StringSlotKey(slot), name)) {
            store.writeString(slot, platform::Utf8ToCp932(value));
            return;
        }
    }
    for (const char* dumpKey : kDumpKeys) {
        if (EqualsIgnoringAsciiCase(dumpKey, name)) {
            store.writeKeys({{kSectionDump, dumpKey, FormatHostBool(ReadHostBool(value, true))}});
            return;
        }
    }
    throw UsageError{"unknown settings key \"" + name + "\" (tavo config lists them)"};
}

}  // namespace

int RunConfig(const std::vector<std::string>& argv, std::ostream& out) {
    const Args args(argv, {}, {});
    const SettingsStore store(platform::SettingsFolder());
    const std::vector<std::string>& p = args.positional();
    if (p.empty()) return print(store, out);
    if (p[0] == "set" && p.size() == 3) {
        set(store, p[1], p[2]);
        return 0;
    }
    throw UsageError{"use tavo config, or tavo config set KEY VALUE"};
}

}  // namespace tavo::cli
