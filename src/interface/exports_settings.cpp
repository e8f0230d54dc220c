// The settings exports: the record, the string slots and the dump flags,
// read from and written to the files of the settings folder on every call.
#include <cstring>

#include "interface/export_guard.h"
#include "interface/host_string.h"
#include "settings/jwc_from_settings.h"
#include "settings/settings_access.h"
#include "tavo.h"

using tavo::GuardedVoid;
using tavo::LibraryState;

static_assert(sizeof(TavoSettings) >= tavo::kSettingsBytes && offsetof(TavoSettings, ExchangeSolid) == 200);
static_assert(sizeof(TavoDumpChecks) == sizeof(tavo::TDumpChecks));

namespace {

// Only the record's first 202 bytes belong to the library.
tavo::TSettings fromHost(const TavoSettings& host) {
    tavo::TSettings s{};
    std::memcpy(&s, &host, tavo::kSettingsBytes);
    return s;
}

void toHost(const tavo::TSettings& s, TavoSettings& host) { std::memcpy(&host, &s, tavo::kSettingsBytes); }

}  // namespace

extern "C" {

TAVO_API void TAVO_CALL ReadInifile(TavoSettings* Settings) {
    GuardedVoid([&](LibraryState&) {
        TavoSettings& host = tavo::HostRecord(Settings);
        tavo::TSettings s = fromHost(host);
        tavo::CurrentSettingsStore().read(s);
        toHost(s, host);
    });
}

TAVO_API void TAVO_CALL WriteInifile(const TavoSettings* Settings) {
    GuardedVoid([&](LibraryState&) { tavo::CurrentSettingsStore().write(fromHost(tavo::HostRecord(Settings))); });
}

TAVO_API TavoString TAVO_CALL ReadIniString(int16_t Slot) {
    TavoString s = tavo::Guarded<TavoString>(nullptr, [&](LibraryState&) {
        return tavo::AllocHostString(tavo::CurrentSettingsStore().readString(Slot));
    });
    return s ? s : tavo::AllocHostStringOrNull("");
}

TAVO_API void TAVO_CALL WriteIniString(int16_t Slot, TavoStringIn Value) {
    GuardedVoid([&](LibraryState&) { tavo::CurrentSettingsStore().writeString(Slot, tavo::ReadHostString(Value)); });
}

TAVO_API void TAVO_CALL ReadIniDump(TavoDumpChecks* Checks) {
    GuardedVoid([&](LibraryState&) {
        tavo::TDumpChecks checks;
        tavo::CurrentSettingsStore().readDump(checks);
        std::memcpy(&tavo::HostRecord(Checks), &checks, sizeof checks);
    });
}

TAVO_API void TAVO_CALL WriteIniDump(const TavoDumpChecks* Checks) {
    GuardedVoid([&](LibraryState&) {
        tavo::TDumpChecks checks;
        std::memcpy(&checks, &tavo::HostRecord(Checks), sizeof checks);
        tavo::CurrentSettingsStore().writeDump(checks);
    });
}

TAVO_API void TAVO_CALL JwcCreateByInifile(void) {
    GuardedVoid([&](LibraryState& state) {
        state.jwc.adopt(tavo::MakeJwcFromSettings(tavo::ReadStoredSettings()));
    });
}

}  // extern "C"
