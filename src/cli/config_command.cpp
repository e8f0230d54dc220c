#include "cli/config_command.h"

#include "base/ascii_case.h"
#include "cli/cli_args.h"
#include "cli/json_text.h"
#include "cli/output_rule.h"
#include "cli/text_encoding.h"
#include "cli/value_ranges.h"
#include "platform/encoding.h"
#include "platform/settings_folder.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace tavo::cli {

const char* const kConfigHelp =
    "usage: tavo config [--json]\n"
    "       tavo config get KEY\n"
    "       tavo config set KEY VALUE\n"
    "\n"
    "The settings as the library reads them from tavo.ini (or the legacy tavo.dat, or the\n"
    "factory values) in the settings folder: $TAVO_SETTINGS_DIR, else $XDG_CONFIG_HOME/tavo/,\n"
    "else ~/.config/tavo/. Keys are matched in any case. set writes one key of tavo.ini as\n"
    "the exports write it, and refuses a value the settings dialog would not let through:\n"
    "  PenNo, SenColor, SimbolColor, BColorIndex items 1-6; BTypeIndex items 1-9\n"
    "  MojiWidth, MojiHeight items 10-1000 and MojiPitch items -100-1000 (0.1 mm)\n"
    "  JwcScale and GroupScale items 1-1000; PlotSize 0-4 (A0-A4); ExportTarget 0-3 (the\n"
    "  preview, the clipboard, .jwc, JWW text; tavo export writes .jwc where no display is);\n"
    "  PlotOffset 0-2; DimScale 0.035-3.5 and DoubleSenPitch 0-10 (3 decimals);\n"
    "  SenLay, MojiLay, SimbolLay 0-255 (group x 16 + layer); booleans 0 or 1;\n"
    "  Comment1, Comment2 at most 32 bytes of Shift-JIS.\n"
    "Lists take every item, separated by commas.\n"
    "\n"
    "examples:\n"
    "  tavo config get JwcScale\n"
    "  tavo config set PlotSize 2\n";

namespace {

const char* sourceName(SettingsSource source) {
    switch (source) {
        case SettingsSource::TavoIni: return "tavo.ini";
        case SettingsSource::TavoDat: return "tavo.dat";
        case SettingsSource::Factory: return "factory";
    }
    return "";
}

struct Setting {
    std::string key;
    std::string value;  // UTF-8
};

// Every key with its value as read, in the order of the file.
std::vector<Setting> readAll(const SettingsStore& store, SettingsSource& source) {
    TSettings s = FactorySettings();
    source = store.read(s);
    std::vector<Setting> all;
    for (const SettingsKey& key : RecordKeys()) all.push_back({key.name, key.format(s)});
    for (int slot = 1; slot <= kStringSlots; ++slot)
        all.push_back({StringSlotKey(slot), platform::Cp932ToUtf8(store.readString(slot))});
    TDumpChecks checks;
    store.readDump(checks);
    const int16_t flags[4] = {checks.Line, checks.Circle, checks.String, checks.Dot};
    for (int i = 0; i < 4; ++i) all.push_back({kDumpKeys[i], FormatHostBool(flags[i])});
    return all;
}

std::string jsonValue(const Setting& setting) {
    const ValueRule* rule = FindValueRule(setting.key);
    switch (rule ? rule->form : ValueForm::Text) {
        case ValueForm::Integer:
        case ValueForm::Decimal: return setting.value;
        case ValueForm::IntegerList: return "[" + setting.value + "]";
        case ValueForm::Boolean: return setting.value == "0" ? "false" : "true";
        case ValueForm::Text: break;
    }
    return JsonString(setting.value);
}

int print(const SettingsStore& store, bool json) {
    SettingsSource source{};
    const std::vector<Setting> all = readAll(store, source);
    std::string out;
    if (json) {
        JsonObject values;
        for (const Setting& s : all) values.raw(s.key, jsonValue(s));
        out = JsonObject()
                  .text("folder", store.folder())
                  .text("source", sourceName(source))
                  .raw("settings", values.str())
                  .str() +
              "\n";
    } else {
        out = "Folder=" + store.folder() + "\nSource=" + sourceName(source) + "\n";
        for (const Setting& s : all) out += s.key + "=" + Utf8ForPerson(s.value) + "\n";
    }
    WriteStandardOutput(out);
    return 0;
}

const ValueRule& ruleOf(const std::string& name) {
    const ValueRule* rule = FindValueRule(name);
    if (!rule) throw UsageError{"unknown settings key \"" + name + "\" (tavo config lists them)"};
    return *rule;
}

int get(const SettingsStore& store, const std::string& name) {
    const ValueRule& rule = ruleOf(name);
    SettingsSource source{};
    for (const Setting& s : readAll(store, source))
        if (EqualsIgnoringAsciiCase(s.key, rule.key)) WriteStandardOutput(Utf8ForPerson(s.value) + "\n");
    return 0;
}

void set(const SettingsStore& store, const std::string& name, const std::string& value) {
    const ValueRule& rule = ruleOf(name);
    const std::string stored = rule.form == ValueForm::Text ? ArgumentToShiftJis(value, rule.key) : value;
    const std::string problem = ValueProblem(rule, stored);
    if (!problem.empty()) throw UsageError{problem, false};
    if (const SettingsKey* key = FindRecordKey(rule.key)) {
        // Through the reading rules, so that what is stored is what a later
        // read gives back ("0x32" is stored as 50).
        TSettings s = FactorySettings();
        store.read(s);
        key->apply(s, stored);
        store.writeKeys({{key->section, key->name, key->format(s)}});
        return;
    }
    for (int slot = 1; slot <= kStringSlots; ++slot) {
        if (EqualsIgnoringAsciiCase(StringSlotKey(slot), rule.key)) {
            store.writeString(slot, stored);
            return;
        }
    }
    store.writeKeys({{kSectionDump, rule.key, stored}});
}

}  // namespace

int RunConfig(const std::vector<std::string>& argv) {
    const Args args(argv, {}, {"--json"});
    const SettingsStore store(platform::SettingsFolder());
    const std::vector<std::string>& p = args.positional();
    if (p.empty()) return print(store, args.has("--json"));
    if (args.has("--json")) throw UsageError{"--json is for tavo config alone"};
    if (p[0] == "get" && p.size() == 2) return get(store, p[1]);
    if (p[0] == "set" && p.size() == 3) {
        set(store, p[1], p[2]);
        return 0;
    }
    throw UsageError{"use tavo config, tavo config get KEY or tavo config set KEY VALUE"};
}

}  // namespace tavo::cli
