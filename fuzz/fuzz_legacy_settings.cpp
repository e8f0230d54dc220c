// The legacy "tavo.dat" reader on arbitrary bytes: the clamped fields stay
// in their ranges.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/legacy_settings.h"
#include "settings/settings_keys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tavo::TSettings s = tavo::FactorySettings();
    for (uint8_t& pen : s.BColorIndex) pen = 1;  // the factory list has unused zeros
    tavo::ReadLegacySettings(std::string_view(reinterpret_cast<const char*>(data), size), s);
    bool ok = s.IsSameScale == -1 && s.ExportTarget == 0 && s.PlotOffset == 0 && s.PlotSize >= 0 && s.PlotSize <= 9 &&
              s.SenColor >= 1 && s.SenColor <= 6 && s.SimbolColor >= 1 && s.SimbolColor <= 6;
    for (int i = 0; i < 10; ++i)
        ok = ok && s.PenNo[i] >= 1 && s.PenNo[i] <= 6 && s.MojiWidth[i] >= 10 && s.MojiWidth[i] <= 1000 &&
             s.MojiHeight[i] >= 10 && s.MojiHeight[i] <= 1000 && s.MojiPitch[i] >= -100 && s.MojiPitch[i] <= 1000;
    for (uint8_t pen : s.BColorIndex) ok = ok && pen >= 1 && pen <= 6;
    for (uint8_t type : s.BTypeIndex) ok = ok && type >= 1 && type <= 9;
    if (!ok) std::abort();
    return 0;
}
