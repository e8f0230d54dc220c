#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/settings_record.h"

namespace tavo {

class ProfileText;

// Where the settings of a folder came from when they were read.
enum class SettingsSource { TavoIni, TavoDat, Factory };

// The files of one settings folder ("tavo.ini", the legacy "tavo.dat"). The
// folder ends with its separator. A "tavo.dat" missing there is looked for
// in `legacyFolder` too, where settings stayed behind when they moved (on
// Windows, a program folder the user cannot write). Every call reads or
// writes the files anew; nothing is cached.
class SettingsStore {
public:
    explicit SettingsStore(std::string folder, std::string legacyFolder = {})
        : folder_(std::move(folder)), legacyFolder_(std::move(legacyFolder)) {}

    const std::string& folder() const { return folder_; }
    std::string iniPath() const { return folder_ + "tavo.ini"; }
    // The "tavo.dat" that is read while "tavo.ini" is missing.
    std::string datPath() const;
    // Locked by every writer while it reads, changes and replaces "tavo.ini".
    std::string lockPath() const { return folder_ + "tavo.ini.lock"; }

    // Fills the record from "tavo.ini", else from "tavo.dat", else with the
    // factory values. List entries without an item keep what they held.
    SettingsSource read(TSettings& settings) const;
    // Writes the record's 21 keys into "tavo.ini".
    void write(const TSettings& settings) const;

    // String slots 1..5; other slots read empty and write nothing.
    std::string readString(int slot) const;
    void writeString(int slot, const std::string& value) const;

    void readDump(TDumpChecks& checks) const;
    void writeDump(const TDumpChecks& checks) const;

    // One profile write per entry, as one replacement of the file.
    struct KeyValue {
        std::string section, key, value;
    };
    void writeKeys(const std::vector<KeyValue>& values) const;
    // What write and writeDump write, for one change of several parts.
    static std::vector<KeyValue> recordValues(const TSettings& settings);
    static std::vector<KeyValue> dumpValues(const TDumpChecks& checks);
    // "tavo.ini" as it is now (empty when missing).
    ProfileText loadIni() const;

private:
    std::string folder_;
    std::string legacyFolder_;
};

}  // namespace tavo
