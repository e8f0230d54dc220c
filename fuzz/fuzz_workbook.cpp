// A workbook package (.xlsx or .ods) in, the host's export calls out to the
// recording ExportCalls: a damaged book must end in an Error naming the
// file, never in a crash, a hang or unbounded memory. The mutator changes
// the parts of a stored zip and packs them again, so that the XML inside is
// what gets mutated, besides the archive itself now and then.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
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

uint32_t U16(std::string_view b, size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}
uint32_t U32(std::string_view b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

// The stored parts of a zip, from its local headers; empty when it holds
// anything else.
std::vector<std::pair<std::string, std::string>> StoredParts(std::string_view zip) {
    std::vector<std::pair<std::string, std::string>> parts;
    size_t at = 0;
    while (at + 30 <= zip.size() && U32(zip, at) == 0x04034b50) {
        const uint32_t method = U16(zip, at + 8), length = U32(zip, at + 18);
        const uint32_t nameLength = U16(zip, at + 26), extra = U16(zip, at + 28);
        if (method != 0 || at + 30 + nameLength + extra + length > zip.size()) return {};
        parts.emplace_back(zip.substr(at + 30, nameLength), zip.substr(at + 30 + nameLength + extra, length));
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
    std::vector<std::pair<std::string, std::string>> parts =
        StoredParts(std::string_view(reinterpret_cast<const char*>(data), size));
    if (parts.empty() || seed % 8 == 0) return LLVMFuzzerMutate(data, size, maxSize);
    std::string& part = parts[seed / 8 % parts.size()].second;
    const size_t room = maxSize > size ? maxSize - size : 0;
    part.resize(part.size() + room);
    part.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(part.data()), part.size() - room, part.size()));
    const std::string zip = tavo::test::StoredZip(parts);
    if (zip.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
    std::copy(zip.begin(), zip.end(), data);
    return zip.size();
}
