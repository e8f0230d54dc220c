#include "settings/settings_keys.h"

#include "base/ascii_case.h"
#include "base/runtime_format.h"
#include "base/number_text.h"
#include "settings/settings_convert.h"

namespace tavo {

const char* const kSectionMojiTable = "MojiTable";
const char* const kSectionExport = "Export";
const char* const kSectionDump = "Dump";
const char* const kDumpKeys[4] = {"CeckLine", "CeckCircle", "CeckString", "CeckDot"};

namespace {

// Ranged lists: each item through StrToIntRange.
template <class T, std::size_t N>
void applyRanged(T (&entries)[N], std::string_view text, int32_t fallback, int32_t min, int32_t max) {
    ForEachListItem(text, N, [&](std::size_t i, std::string_view item) {
        entries[i] = static_cast<T>(StrToIntRange(item, fallback, min, max));
    });
}

// Plain lists: an integer, 0 when no number, cut to the entry's width.
template <class T, std::size_t N>
void applyPlain(T (&entries)[N], std::string_view text) {
    ForEachListItem(text, N, [&](std::size_t i, std::string_view item) {
        entries[i] = static_cast<T>(parseInt32Or(item, 0));
    });
}

std::string formatFloat(float value) { return FormatFixed(value, 3); }

#define TAVO_LIST(field) [](const TSettings& s) { return FormatList(s.field); }
#define TAVO_INT(field, def)                                                                     \
    [](TSettings& s, std::string_view t) { s.field = static_cast<decltype(s.field)>(parseInt32Or(t, def)); }, \
        [](const TSettings& s) { return std::to_string(+s.field); }
#define TAVO_BOOL(field, def)                                                      \
    [](TSettings& s, std::string_view t) { s.field = ReadHostBool(t, def); }, \
        [](const TSettings& s) { return std::string(FormatHostBool(s.field)); }

const std::vector<SettingsKey> kRecordKeys = {
    {kSectionMojiTable, "PenNo", "1,1,2,2,3,3,4,4,5,5",
     [](TSettings& s, std::string_view t) { applyRanged(s.PenNo, t, 1, 1, 6); }, TAVO_LIST(PenNo)},
    {kSectionMojiTable, "MojiWidth", "20,25,30,40,50,60,70,80,90,100",
     [](TSettings& s, std::string_view t) { applyRanged(s.MojiWidth, t, 30, 10, 1000); }, TAVO_LIST(MojiWidth)},
    {kSectionMojiTable, "MojiHeight", "20,25,30,40,50,60,70,80,90,100",
     [](TSettings& s, std::string_view t) { applyRanged(s.MojiHeight, t, 30, 10, 1000); }, TAVO_LIST(MojiHeight)},
    {kSectionMojiTable, "MojiPitch", "0,0,5,5,5,10,10,10,10,10",
     [](TSettings& s, std::string_view t) { applyRanged(s.MojiPitch, t, 0, -100, 1000); }, TAVO_LIST(MojiPitch)},
    {kSectionExport, "DimScale", "0.35",
     [](TSettings& s, std::string_view t) { s.DimScale = static_cast<float>(StrToFloatRange(t, 0.35, 0.035, 3.5)); },
     [](const TSettings& s) { return formatFloat(s.DimScale); }},
    {kSectionExport, "JwcScale", "100", TAVO_INT(JwcScale, 100)},
    {kSectionExport, "PlotSize", "3", TAVO_INT(PlotSize, 3)},
    {kSectionExport, "SenLay", "241", TAVO_INT(SenLay, 241)},
    {kSectionExport, "SenColor", "1", TAVO_INT(SenColor, 1)},
    {kSectionExport, "DoubleSenPitch", "0.50",
     [](TSettings& s, std::string_view t) {
         s.DoubleSenPitch = static_cast<float>(StrToFloatRange(t, 0.5, 0, 50));
     },
     [](const TSettings& s) { return formatFloat(s.DoubleSenPitch); }},
    {kSectionExport, "MojiLay", "240", TAVO_INT(MojiLay, 240)},
    {kSectionExport, "SimbolLay", "242", TAVO_INT(SimbolLay, 242)},
    {kSectionExport, "SimbolColor", "3", TAVO_INT(SimbolColor, 3)},
    {kSectionExport, "ExportTarget", "0", TAVO_INT(ExportTarget, 0)},
    {kSectionExport, "PlotOffset", "0", TAVO_INT(PlotOffset, 0)},
    {kSectionExport, "IsSameScale", "1", TAVO_BOOL(IsSameScale, true)},
    {kSectionExport, "GroupScale", "100,100,100,100,100,100,100,100,100,100,100,100,100,100,100,100",
     [](TSettings& s, std::string_view t) { applyPlain(s.GroupScale, t); }, TAVO_LIST(GroupScale)},
    {kSectionExport, "BColorIndex",
     "2,2,5,3,6,4,5,1,5,3,6,3,5,3,2,2,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,1,3,4,1,5,5,4,6,1,3,4,4,4,6,2,2,3,2,6,5,5,"
     "6,2",
     [](TSettings& s, std::string_view t) { applyPlain(s.BColorIndex, t); }, TAVO_LIST(BColorIndex)},
    {kSectionExport, "BTypeIndex", "1,2,7,5,3,1,8,8,6,4,1,1,1",
     [](TSettings& s, std::string_view t) { applyPlain(s.BTypeIndex, t); }, TAVO_LIST(BTypeIndex)},
    {kSectionExport, "ExchangeCaret", "0", TAVO_BOOL(ExchangeCaret, false)},
    {kSectionExport, "ExchangeSolid", "0", TAVO_BOOL(ExchangeSolid, false)},
};

#undef TAVO_LIST
#undef TAVO_INT
#undef TAVO_BOOL

}  // namespace

const std::vector<SettingsKey>& RecordKeys() { return kRecordKeys; }

const char* StringSlotKey(int slot) {
    static const char* const kKeys[kStringSlots] = {"Comment1", "Comment2", "FileName", "FilePath", "DumpName"};
    return slot >= 1 && slot <= kStringSlots ? kKeys[slot - 1] : nullptr;
}

const SettingsKey* FindRecordKey(std::string_view name) {
    for (const SettingsKey& key : kRecordKeys)
        if (EqualsIgnoringAsciiCase(key.name, name)) return &key;
    return nullptr;
}

TSettings FactorySettings() {
    TSettings s{};
    for (const SettingsKey& key : kRecordKeys) key.apply(s, key.defaultText);
    return s;
}

int16_t ReadHostBool(std::string_view text, bool fallback) {
    return parseInt32Or(text, fallback ? 1 : 0) != 0 ? kHostTrue : kHostFalse;
}

}  // namespace tavo
