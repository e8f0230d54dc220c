#include "settings/settings_store.h"

#include <memory>

#include "base/error.h"
#include "base/file_save.h"
#include "files/file_system.h"
#include "settings/legacy_settings.h"
#include "settings/profile_file.h"
#include "settings/settings_keys.h"

namespace tavo {

namespace {

bool fileExists(const std::string& path) { return platform::Files().kindOf(path) == platform::FileKind::File; }

void readRecordKeys(const ProfileText& ini, TSettings& settings) {
    for (const SettingsKey& key : RecordKeys())
        key.apply(settings, ini.read(key.section, key.name, key.defaultText));
}

}  // namespace

std::string SettingsStore::datPath() const {
    std::string own = folder_ + "tavo.dat";
    if (legacyFolder_.empty() || legacyFolder_ == folder_ || fileExists(own)) return own;
    const std::string left = legacyFolder_ + "tavo.dat";
    return fileExists(left) ? left : own;
}

ProfileText SettingsStore::loadIni() const {
    const std::string path = iniPath();
    return ProfileText(fileExists(path) ? readWholeFile(path) : std::string());
}

SettingsSource SettingsStore::read(TSettings& settings) const {
    if (fileExists(iniPath())) {
        readRecordKeys(loadIni(), settings);
        return SettingsSource::TavoIni;
    }
    if (const std::string dat = datPath(); fileExists(dat)) {
        ReadLegacySettings(readWholeFile(dat), settings);
        return SettingsSource::TavoDat;
    }
    readRecordKeys(ProfileText(), settings);
    return SettingsSource::Factory;
}

void SettingsStore::writeKeys(const std::vector<KeyValue>& values) const {
    const std::string path = iniPath();
    platform::FileSystem& files = platform::Files();
    platform::FileStatus status = files.createFolders(folder_);
    // Other processes (another host, the command) write the file too: each
    // reads, changes and replaces it under the lock, so no write is lost.
    std::unique_ptr<platform::FileLock> lock;
    if (status.ok()) lock = files.lock(lockPath(), status);
    if (!lock) throw Error::cannotCreate(path, status.reason);
    ProfileText ini = loadIni();
    for (const KeyValue& kv : values) ini.write(kv.section, kv.key, kv.value);
    saveFile(path, [&](ByteSink& sink) { sink.write(ini.bytes()); });
}

std::vector<SettingsStore::KeyValue> SettingsStore::recordValues(const TSettings& settings) {
    std::vector<KeyValue> values;
    values.reserve(RecordKeys().size());
    for (const SettingsKey& key : RecordKeys()) values.push_back({key.section, key.name, key.format(settings)});
    return values;
}

void SettingsStore::write(const TSettings& settings) const { writeKeys(recordValues(settings)); }

std::string SettingsStore::readString(int slot) const {
    const char* key = StringSlotKey(slot);
    if (!key) return std::string();
    // The two path slots default to the settings folder.
    const std::string fallback = slot == 4 || slot == 5 ? folder_ : std::string();
    return loadIni().read(kSectionExport, key, fallback);
}

void SettingsStore::writeString(int slot, const std::string& value) const {
    if (const char* key = StringSlotKey(slot)) writeKeys({{kSectionExport, key, value}});
}

void SettingsStore::readDump(TDumpChecks& checks) const {
    const ProfileText ini = loadIni();
    int16_t* flags[4] = {&checks.Line, &checks.Circle, &checks.String, &checks.Dot};
    for (int i = 0; i < 4; ++i) *flags[i] = ReadHostBool(ini.read(kSectionDump, kDumpKeys[i], "1"), true);
}

std::vector<SettingsStore::KeyValue> SettingsStore::dumpValues(const TDumpChecks& checks) {
    const int16_t flags[4] = {checks.Line, checks.Circle, checks.String, checks.Dot};
    std::vector<KeyValue> values;
    values.reserve(4);
    for (int i = 0; i < 4; ++i) values.push_back({kSectionDump, kDumpKeys[i], FormatHostBool(flags[i])});
    return values;
}

void SettingsStore::writeDump(const TDumpChecks& checks) const { writeKeys(dumpValues(checks)); }

}  // namespace tavo
