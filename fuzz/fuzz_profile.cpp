// The profile engine on arbitrary bytes as "tavo.ini": every key the library
// reads, then one key written and read back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/profile_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_record.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

// A value the engine must give back unchanged: one line, no blanks around
// it, no outer quotes, within the 2047 bytes a read returns.
std::string writableValue(std::string_view raw) {
    std::string v;
    for (char c : raw.substr(0, 200))
        if (c != '\r' && c != '\n' && c != '\0') v += c;
    for (;;) {
        while (!v.empty() && isBlank(v.front())) v.erase(v.begin());
        while (!v.empty() && isBlank(v.back())) v.pop_back();
        if (v.size() < 2 || (v.front() != '"' && v.front() != '\'') || v.back() != v.front()) return v;
        v = v.substr(1, v.size() - 2);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tavo::ProfileText ini{std::string(bytes)};

    tavo::TSettings settings = tavo::FactorySettings();
    for (const tavo::SettingsKey& key : tavo::RecordKeys()) key.apply(settings, ini.read(key.section, key.name, key.defaultText));
    for (int slot = 1; slot <= tavo::kStringSlots; ++slot) ini.read(tavo::kSectionExport, tavo::StringSlotKey(slot), "");
    for (int i = 0; i < 4; ++i) ini.read(tavo::kSectionDump, tavo::kDumpKeys[i], "1");

    // Which key and what value come from the input itself.
    const std::size_t keyCount = tavo::RecordKeys().size() + tavo::kStringSlots;
    const std::size_t pick = static_cast<unsigned char>(bytes[0]) % keyCount;
    const char* section;
    const char* name;
    if (pick < tavo::RecordKeys().size()) {
        section = tavo::RecordKeys()[pick].section;
        name = tavo::RecordKeys()[pick].name;
    } else {
        section = tavo::kSectionExport;
        name = tavo::StringSlotKey(static_cast<int>(pick - tavo::RecordKeys().size()) + 1);
    }
    const std::string value = writableValue(bytes.substr(bytes.size() / 2));
    ini.write(section, name, value);
    if (ini.read(section, name, "\x01missing") != value) std::abort();
    tavo::ProfileText reread{std::string(ini.bytes())};
    if (reread.read(section, name, "\x01missing") != value) std::abort();
    return 0;
}
