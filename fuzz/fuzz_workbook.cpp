// A workbook package (.xlsx or .ods) in, the host's export calls out to the
// recording ExportCalls: a damaged book must end in an Error naming the
// file, never in a crash, a hang or unbounded memory. The mutator changes
// the parts of a stored zip and packs them again, so that the XML inside is
// what gets mutated, besides the archive itself now and then.
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/error.h"
#include "settings/settings_keys.h"
#include "settings/settings_record.h"
#include "stored_zip.h"
#include "workbook/recording_export_calls.h"
#include "workbook/workbook_export.h"

// libFuzzer's own mutation; absent from the replay programs, which never mutate.
extern "C" __attribute__((weak)) size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

TavoSettings Settings() {
    TavoSettings s{};
    const tavo::TSettings f = tavo::FactorySettings();
    std::memcpy(&s, &f, tavo::kSettingsBytes);
    s.ExchangeSolid = -1;
    s.ExchangeCaret = -1;
    return s;
}

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint32_t U16(const uint8_t* p) { return p[0] | p[1] << 8; }

// The stored parts of a zip, from its local headers; empty when it holds
// anything else.
std::vector<std::pair<std::string, std::string>> StoredParts(const uint8_t* data, size_t size) {
    std::vector<std::pair<std::string, std::string>> parts;
    size_t at = 0;
    while (at + 30 <= size && U32(data + at) == 0x04034b50) {
        const uint32_t method = U16(data + at + 8), length = U32(data + at + 18);
        const uint32_t nameLength = U16(data + at + 26), extra = U16(data + at + 28);
        if (method != 0 || at + 30 + nameLength + extra + length > size) return {};
        const auto* name = reinterpret_cast<const char*>(data + at + 30);
        const auto* body = reinterpret_cast<const char*>(data + at + 30 + nameLength + extra);
        parts.emplace_back(std::string(name, nameLength), std::string(body, length));
        at += 30 + nameLength + extra + length;
    }
    return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const tavo::workbook::WorkbookPackage package("fuzz", std::string(reinterpret_cast<const char*>(data), size));
        tavo::workbook::RecordingExportCalls calls(Settings());
        tavo::workbook::ExportWorkbookSheet(package, {}, calls);
    } catch (const tavo::Error&) {
    }
    return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    std::vector<std::pair<std::string, std::string>> parts = StoredParts(data, size);
    if (parts.empty() || seed % 8 == 0) return LLVMFuzzerMutate(data, size, maxSize);
    std::string& part = parts[seed / 8 % parts.size()].second;
    const size_t room = maxSize > size ? maxSize - size : 0;
    part.resize(part.size() + room);
    part.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(part.data()), part.size() - room, part.size()));
    const std::string zip = tavo::test::StoredZip(parts);
    if (zip.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, zip.data(), zip.size());
    return zip.size();
}
