#include "cli/run_settings.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "base/ascii_case.h"
#include "base/file_save.h"
#include "cli/cli_args.h"
#include "cli/number_text_cli.h"
#include "cli/temp_folder.h"
#include "cli/text_encoding.h"
#include "cli/value_ranges.h"
#include "settings/settings_access.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace tavo::cli {

const std::vector<std::string> kSettingsOptions = {"--paper", "--scale", "--dim-scale", "--settings"};
const std::vector<std::string> kSettingsFlags = {"--solid", "--no-solid", "--caret", "--no-caret"};

bool IsSettingsOption(const std::string& word) {
    const std::string name = word.substr(0, word.find('='));
    return std::find(kSettingsOptions.begin(), kSettingsOptions.end(), name) != kSettingsOptions.end() ||
           std::find(kSettingsFlags.begin(), kSettingsFlags.end(), name) != kSettingsFlags.end();
}

namespace {

bool fileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

const char* const kPapers[] = {"A0", "A1", "A2", "A3", "A4"};


// A value for `key` from an option, checked by the range table.
std::string checked(const char* key, const std::string& option, const std::string& text) {
    const std::string problem = ValueProblem(*FindValueRule(key), text);
    if (!problem.empty()) throw UsageError{option + ": " + problem, false};
    return text;
}

struct Change {
    const char* key;
    std::string value;
};

std::vector<Change> changesOf(const Args& args) {
    std::vector<Change> changes;
    if (args.has("--paper")) {
        const std::string paper = args.value("--paper");
        std::string index;
        for (int i = 0; i < 5; ++i)
            if (EqualsIgnoringAsciiCase(paper, kPapers[i])) index = std::to_string(i);
        if (index.empty()) throw UsageError{"--paper takes A0, A1, A2, A3 or A4, not \"" + paper + "\"", false};
        changes.push_back({"PlotSize", index});
    }
    if (args.has("--scale")) {
        changes.push_back({"JwcScale", checked("JwcScale", "--scale", args.value("--scale"))});
        changes.push_back({"IsSameScale", "1"});  // 1:N for every group, as the option says
    }
    if (args.has("--dim-scale"))
        changes.push_back({"DimScale", checked("DimScale", "--dim-scale", args.value("--dim-scale"))});
    if (args.has("--solid") && args.has("--no-solid")) throw UsageError{"--solid and --no-solid contradict each other"};
    if (args.has("--caret") && args.has("--no-caret")) throw UsageError{"--caret and --no-caret contradict each other"};
    if (args.has("--solid") || args.has("--no-solid")) changes.push_back({"ExchangeSolid", args.has("--solid") ? "1" : "0"});
    if (args.has("--caret") || args.has("--no-caret")) changes.push_back({"ExchangeCaret", args.has("--caret") ? "1" : "0"});
    return changes;
}

// Everything a reader of `from` gets, written as "tavo.ini" into `to`.
void copySettings(const SettingsStore& from, const SettingsStore& to) {
    if (fileExists(from.iniPath())) {
        const std::string bytes = readWholeFile(from.iniPath());
        saveFile(to.iniPath(), [&](ByteSink& sink) { sink.write(bytes); });
        return;
    }
    // tavo.dat or the factory values: the record as read, with the strings and the dump flags.
    TSettings record = FactorySettings();
    from.read(record);
    std::vector<SettingsStore::KeyValue> values = SettingsStore::recordValues(record);
    for (int slot = 1; slot <= kStringSlots; ++slot)
        values.push_back({kSectionExport, StringSlotKey(slot), from.readString(slot)});
    TDumpChecks checks;
    from.readDump(checks);
    for (const auto& v : SettingsStore::dumpValues(checks)) values.push_back(v);
    to.writeKeys(values);
}

}  // namespace

const char* PaperName(int32_t plotSize) { return plotSize >= 0 && plotSize <= 4 ? kPapers[plotSize] : "A4"; }

RunSettings::RunSettings(const Args& args, bool snapshot) {
    const std::vector<Change> changes = changesOf(args);
    const SettingsStore stored = CurrentSettingsStore();
    inputs_ = {stored.iniPath(), stored.datPath()};
    source_ = fileExists(stored.iniPath()) ? stored.iniPath()
              : fileExists(stored.datPath()) ? stored.datPath()
                                             : "factory settings";
    if (args.has("--settings")) {
        const std::string file = args.value("--settings");
        if (!fileExists(file)) throw CommandError{file, "does not exist (--settings names a tavo.ini)"};
        inputs_.push_back(file);
        source_ = file;
    }
    overridden_ = !changes.empty() || args.has("--settings");
    if (!overridden_ && !snapshot) return;

    folder_ = std::make_unique<TempFolder>();
    const SettingsStore own(folder_->path());
    if (args.has("--settings")) {
        const std::string bytes = readWholeFile(args.value("--settings"));
        saveFile(own.iniPath(), [&](ByteSink& sink) { sink.write(bytes); });
    } else {
        copySettings(stored, own);
    }
    std::vector<SettingsStore::KeyValue> values;
    values.reserve(changes.size());
    for (const Change& c : changes) values.push_back({kSectionExport, c.key, c.value});
    if (!values.empty()) own.writeKeys(values);

    if (const char* dir = std::getenv("TAVO_SETTINGS_DIR")) previousDir_ = dir;
    setenv("TAVO_SETTINGS_DIR", folder_->path().c_str(), 1);
}

RunSettings::~RunSettings() {
    if (!folder_) return;
    if (previousDir_)
        setenv("TAVO_SETTINGS_DIR", previousDir_->c_str(), 1);
    else
        unsetenv("TAVO_SETTINGS_DIR");
}

TSettings RunSettings::record() const { return ReadStoredSettings(); }

std::string RunSettings::storedFileName() const { return CurrentSettingsStore().readString(3); }

std::string RunSettings::describe() const {
    const TSettings s = record();
    std::string text = std::string("paper ") + PaperName(s.PlotSize) + ", scale 1:" + std::to_string(s.JwcScale) +
                       ", dim scale " + ShortestText(s.DimScale) + ", fills " +
                       (s.ExchangeSolid ? "drawn" : "left out") + ", carets " + (s.ExchangeCaret ? "on" : "off");
    return text + " (from " + source_ + (overridden_ ? ", changed for this run)" : ")");
}

}  // namespace tavo::cli
