#include "forms/config_form.h"

#include <algorithm>

#include "base/runtime_format.h"
#include "base/path_text.h"
#include "base/sjis_char.h"
#include "forms/config_texts.h"
#include "settings/profile_file.h"
#include "settings/settings_convert.h"
#include "settings/settings_keys.h"

namespace tavo {

namespace {

std::string Fixed2(double value) { return FormatFixed(value, 2); }

std::string Decimal(int value) { return std::to_string(value); }

uint8_t Byte(int value) { return static_cast<uint8_t>(value); }
int16_t Int16(int value) { return static_cast<int16_t>(value); }
int16_t HostBool(bool value) { return value ? kHostTrue : kHostFalse; }

// A line break pasted into a box would end the key's line in "tavo.ini"
// and turn the rest into a line of its own.
std::string OneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

// A .jwc file keeps 32 bytes of a comment: longer text, as pasted text or
// 32 double-byte characters can be, is cut before a character that would
// not fit whole.
constexpr std::size_t kCommentBytes = 32;
std::string CommentOf(const std::string& typed) {
    std::string text = OneLine(typed);
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t width = IsSjisLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > kCommentBytes) break;
        end += width;
    }
    text.resize(std::min(end, text.size()));
    return text;
}

int Nibble(int index) { return std::clamp(index, 0, 15); }

// Header and labels of the text table; values are not touched.
void MojiLabels(std::array<std::array<std::string, kMojiCols>, kMojiRows>& grid) {
    // The first cell is a full-width blank, which the list walk keeps.
    ForEachListItem(sjis::kMojiHeader, kMojiCols,
                    [&grid](std::size_t i, std::string_view item) { grid[0][i] = std::string(item); });
    for (int r = 1; r < kMojiRows; ++r) grid[std::size_t(r)][0] = "[F" + Decimal(r) + "]";
}

}  // namespace

TConfigForm::TConfigForm(ConfigMode mode, ConfigToolkit& toolkit, SettingsStore settings)
    : Mode(mode), ExtraGroupCaption(sjis::kExtraGroup), toolkit_(toolkit), settings_(std::move(settings)) {}

void TConfigForm::Open() {
    const ProfileText ini = settings_.loadIni();
    Comment1 = ini.read(kSectionExport, StringSlotKey(1), "");
    Comment2 = ini.read(kSectionExport, StringSlotKey(2), "");
    FileName = ini.read(kSectionExport, StringSlotKey(3), "");
    FilePath = ini.read(kSectionExport, StringSlotKey(4), settings_.folder());
    DumpName = ini.read(kSectionExport, StringSlotKey(5), "");
    if (Mode == ConfigMode::Dump)
        settings_.readDump(DumpChecks);
    else
        settings_.read(Settings);
    TreeReady = false;
    Tree = ConfigTree(Mode);
    TreeReady = true;
    switch (Mode) {
        case ConfigMode::Export:
            FillTarget();
            FillScale();
            FillLayers();
            FillColors();
            FillTypes();
            FillMoji();
            FillOptions();
            break;
        case ConfigMode::Dump: FillDump(); break;
        case ConfigMode::Build:
            FillTarget();
            FillScale();
            FillMoji();
            break;
    }
    tvContentsChange(Tree.front().Page);
}

void TConfigForm::tvContentsChange(uint8_t page) {
    if (!TreeReady) return;
    CurrentPage = page;
    ShownPanel = PanelOfPage(page);
    toolkit_.Repaint();
}

// ---- target page

void TConfigForm::FillTarget() {
    const int target = Settings.ExportTarget;
    const int highest = Mode == ConfigMode::Build ? 2 : 3;
    TargetChecked = target <= highest ? target : -1;
    edCom1 = Comment1;
    edCom2 = Comment2;
    edFName = changeFileExt(FileName, ".jwc");
    // A stored coordinate-file target has no button in build mode, and OK
    // makes it a JWC file: the group shows it so.
    AdjustTargetGroup(Mode == ConfigMode::Build && target == 3 ? 2 : target);
    if (Mode != ConfigMode::Build) PlacementChecked = Settings.PlotOffset <= 2 ? Settings.PlotOffset : -1;
}

void TConfigForm::rbToPreviewClick(int target) {
    TargetChecked = target;
    Settings.ExportTarget = Byte(target);
    AdjustTargetGroup(target);
    toolkit_.Repaint();
}

void TConfigForm::AdjustTargetGroup(int target) {
    if (target == 2) {
        ExtraGroupEnabled = true;
        ExtraGroupCaption = sjis::kExtraGroupJwc;
        CommentsEnabled = true;
        edFName = changeFileExt(edFName, ".jwc");
    } else if (target == 3) {
        ExtraGroupEnabled = true;
        ExtraGroupCaption = sjis::kExtraGroupTxt;
        CommentsEnabled = false;
        edFName = changeFileExt(edFName, ".txt");
    } else {
        ExtraGroupEnabled = false;
    }
}

void TConfigForm::StoreTarget() {
    if (TargetChecked >= 0) Settings.ExportTarget = Byte(TargetChecked);
    Comment1 = CommentOf(edCom1);
    Comment2 = CommentOf(edCom2);
    FileName = changeFileExt(OneLine(edFName), Settings.ExportTarget == 3 ? ".txt" : ".jwc");
    FilePath = extractFilePath(FileName);
    Settings.PlotOffset = Byte(PlacementChecked == 0 ? 0 : PlacementChecked == 1 ? 1 : 2);
}

void TConfigForm::StoreTargetBuild() {
    Settings.ExportTarget = Byte(TargetChecked == 0 ? 0 : TargetChecked == 1 ? 1 : 2);
    Comment1 = CommentOf(edCom1);
    Comment2 = CommentOf(edCom2);
    FileName = changeFileExt(OneLine(edFName), ".jwc");
    FilePath = extractFilePath(FileName);
}

void TConfigForm::bnSaveAsClick() {
    const bool coordinates = Settings.ExportTarget == 3;
    SaveDialogRequest request{coordinates ? "txt" : "jwc", coordinates ? sjis::kTxtSaveFilter : sjis::kJwcSaveFilter,
                              edFName, extractFilePath(edFName)};
    if (const std::optional<std::string> chosen = toolkit_.AskSaveFileName(request)) edFName = *chosen;
    toolkit_.Repaint();
}

// ---- paper and scale page

void TConfigForm::FillScale() {
    edDimen = Fixed2(Settings.DimScale);
    cbDraft = Settings.PlotSize >= 0 && Settings.PlotSize <= 4 ? Settings.PlotSize : -1;
    edScale = Decimal(Settings.JwcScale);
    sgGroupScale[0][0] = sjis::kGroupHeader;
    sgGroupScale[1][0] = sjis::kScaleRowLabel;
    for (int g = 0; g < 16; ++g) {
        sgGroupScale[0][std::size_t(g) + 1] = std::string(1, "0123456789ABCDEF"[g]);
        sgGroupScale[1][std::size_t(g) + 1] = Decimal(Settings.GroupScale[g]);
    }
    rbSameScaleClick(Settings.IsSameScale != 0);
}

void TConfigForm::rbSameScaleClick(bool same) {
    SameScaleChecked = same;
    toolkit_.Repaint();
}

void TConfigForm::StoreScale() {
    Settings.DimScale = static_cast<float>(StrToFloatRange(edDimen, 0.35, 0.035, 3.5));
    Settings.PlotSize = Int16(cbDraft >= 0 && cbDraft <= 4 ? cbDraft : -1);
    Settings.IsSameScale = HostBool(SameScaleChecked);
    Settings.JwcScale = Int16(StrToIntRange(edScale, 100, 1, 1000));
    for (int g = 0; g < 16; ++g)
        Settings.GroupScale[g] = Int16(StrToIntRange(sgGroupScale[1][std::size_t(g) + 1], 100, 1, 1000));
}

// ---- layer page

void TConfigForm::FillLayers() {
    cbRGrp = Settings.SenLay >> 4;
    cbRLay = Settings.SenLay & 15;
    cbMGrp = Settings.MojiLay >> 4;
    cbMLay = Settings.MojiLay & 15;
    cbSGrp = Settings.SimbolLay >> 4;
    cbSLay = Settings.SimbolLay & 15;
    edRCol = Decimal(Settings.SenColor);
    edSPenNo = Decimal(Settings.SimbolColor);
}

void TConfigForm::StoreLayers() {
    Settings.SenLay = Byte(16 * Nibble(cbRGrp) + Nibble(cbRLay));
    Settings.MojiLay = Byte(16 * Nibble(cbMGrp) + Nibble(cbMLay));
    Settings.SimbolLay = Byte(16 * Nibble(cbSGrp) + Nibble(cbSLay));
    Settings.SenColor = Byte(StrToIntRange(edRCol, 1, 1, 6));
    Settings.SimbolColor = Byte(StrToIntRange(edSPenNo, 1, 1, 6));
}

// ---- line colour and line type pages

void TConfigForm::FillColors() {
    for (int i = 0; i < kSwatchCount; ++i)
        ColorBoxes[std::size_t(i)] = Decimal(Settings.BColorIndex[kColorSwatches[std::size_t(i)].PaletteIndex - 1]);
}

void TConfigForm::bnIniColorClick() {
    for (int i = 0; i < kSwatchCount; ++i) ColorBoxes[std::size_t(i)] = Decimal(kColorSwatches[std::size_t(i)].FactoryPen);
    toolkit_.Repaint();
}

void TConfigForm::StoreColors() {
    for (int i = 0; i < kSwatchCount; ++i)
        Settings.BColorIndex[kColorSwatches[std::size_t(i)].PaletteIndex - 1] =
            Byte(StrToIntRange(ColorBoxes[std::size_t(i)], 1, 1, 6));
}

void TConfigForm::FillTypes() {
    for (std::size_t s = 0; s < TypeBoxes.size(); ++s) TypeBoxes[s] = Decimal(Settings.BTypeIndex[s]);
    edDouble = Fixed2(Settings.DoubleSenPitch);
}

void TConfigForm::bnIniTypeClick() {
    for (std::size_t s = 0; s < TypeBoxes.size(); ++s) TypeBoxes[s] = Decimal(kFactoryLineTypes[s]);
    edDouble = "0.50";
    toolkit_.Repaint();
}

void TConfigForm::StoreTypes() {
    for (std::size_t s = 0; s < TypeBoxes.size(); ++s) Settings.BTypeIndex[s] = Byte(StrToIntRange(TypeBoxes[s], 1, 1, 9));
    Settings.DoubleSenPitch = static_cast<float>(StrToFloatRange(edDouble, 0, 0, 10));
}

// ---- text table page

void TConfigForm::FillMoji() {
    MojiLabels(sgTable);
    for (int r = 1; r < kMojiRows; ++r) {
        auto& row = sgTable[std::size_t(r)];
        row[1] = Decimal(Settings.PenNo[r - 1]);
        row[2] = Decimal(Settings.MojiWidth[r - 1]);
        row[3] = Decimal(Settings.MojiHeight[r - 1]);
        row[4] = Decimal(Settings.MojiPitch[r - 1]);
    }
}

void TConfigForm::bnMojiIniClick() {
    static const int kPens[10] = {1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
    static const int kSizes[10] = {20, 25, 30, 40, 50, 60, 70, 80, 90, 100};
    static const int kPitches[10] = {0, 0, 5, 5, 5, 10, 10, 10, 10, 10};
    MojiLabels(sgTable);
    for (int r = 1; r < kMojiRows; ++r) {
        auto& row = sgTable[std::size_t(r)];
        row[1] = Decimal(kPens[r - 1]);
        row[2] = row[3] = Decimal(kSizes[r - 1]);
        row[4] = Decimal(kPitches[r - 1]);
    }
    toolkit_.Repaint();
}

void TConfigForm::StoreMoji() {
    for (int r = 1; r < kMojiRows; ++r) {
        const auto& row = sgTable[std::size_t(r)];
        Settings.PenNo[r - 1] = Byte(StrToIntRange(row[1], 1, 1, 6));
        Settings.MojiWidth[r - 1] = Int16(StrToIntRange(row[2], 30, 10, 1000));
        Settings.MojiHeight[r - 1] = Int16(StrToIntRange(row[3], 30, 10, 1000));
        Settings.MojiPitch[r - 1] = Int16(StrToIntRange(row[4], 0, -100, 1000));
    }
}

// ---- options and dump pages

void TConfigForm::FillOptions() {
    ExchangeCaretChecked = Settings.ExchangeCaret != 0;
    ExchangeSolidChecked = Settings.ExchangeSolid != 0;
}

void TConfigForm::StoreOptions() {
    Settings.ExchangeCaret = HostBool(ExchangeCaretChecked);
    Settings.ExchangeSolid = HostBool(ExchangeSolidChecked);
}

void TConfigForm::FillDump() {
    edDumpName = changeFileExt(DumpName, ".jwc");
    DumpBoxes = {DumpChecks.Line != 0, DumpChecks.Circle != 0, DumpChecks.String != 0, DumpChecks.Dot != 0};
}

void TConfigForm::StoreDump() {
    DumpName = changeFileExt(OneLine(edDumpName), ".jwc");
    DumpChecks = {HostBool(DumpBoxes[0]), HostBool(DumpBoxes[1]), HostBool(DumpBoxes[2]), HostBool(DumpBoxes[3])};
}

void TConfigForm::bnDumpFileClick() {
    SaveDialogRequest request{"jwc", sjis::kDumpOpenFilter, edDumpName, extractFilePath(edDumpName)};
    if (const std::optional<std::string> chosen = toolkit_.AskOpenFileName(request)) edDumpName = *chosen;
    toolkit_.Repaint();
}

// ---- buttons

void TConfigForm::bnHelpClick() {
    try {
        toolkit_.ShowHelp(settings_.folder() + "tavo.hlp", HelpContextOfPage(CurrentPage));
    } catch (const std::exception& e) {
        ShowFailure(e);
    }
}

void TConfigForm::bnRenewalClick() {
    bool record = true;
    switch (CurrentPage) {
        case 2: StoreTarget(); break;
        case 3:
        case 33: StoreScale(); break;
        case 4: StoreLayers(); break;
        case 5: StoreColors(); break;
        case 6: StoreTypes(); break;
        case 7:
        case 34: StoreMoji(); break;
        case 8: StoreOptions(); break;
        case 32: StoreTargetBuild(); break;
        case 22:
            StoreDump();
            record = false;
            break;
        default: record = false; break;
    }
    if (record) Write(RecordValues());
    toolkit_.Repaint();
}

void TConfigForm::bnOkClick() {
    std::vector<SettingsStore::KeyValue> values;
    const auto append = [&values](const std::vector<SettingsStore::KeyValue>& more) {
        values.insert(values.end(), more.begin(), more.end());
    };
    switch (Mode) {
        case ConfigMode::Export:
            StoreTarget();
            StoreScale();
            StoreLayers();
            StoreColors();
            StoreTypes();
            StoreMoji();
            StoreOptions();
            append(RecordValues());
            append(StringValues());
            break;
        case ConfigMode::Dump:
            StoreDump();
            append(StringValues());
            append(DumpValues());
            break;
        case ConfigMode::Build:
            StoreTargetBuild();
            StoreScale();
            StoreMoji();
            append(RecordValues());
            append(StringValues());
            break;
    }
    try {
        settings_.writeKeys(values);
    } catch (const std::exception& e) {
        ShowFailure(e);
        return;
    }
    ModalResult = 1;
}

std::vector<SettingsStore::KeyValue> TConfigForm::RecordValues() const { return SettingsStore::recordValues(Settings); }

std::vector<SettingsStore::KeyValue> TConfigForm::StringValues() const {
    const std::string* strings[kStringSlots] = {&Comment1, &Comment2, &FileName, &FilePath, &DumpName};
    std::vector<SettingsStore::KeyValue> values;
    for (int slot = 1; slot <= kStringSlots; ++slot)
        values.push_back({kSectionExport, StringSlotKey(slot), *strings[slot - 1]});
    return values;
}

std::vector<SettingsStore::KeyValue> TConfigForm::DumpValues() const { return SettingsStore::dumpValues(DumpChecks); }

void TConfigForm::Write(const std::vector<SettingsStore::KeyValue>& values) {
    try {
        settings_.writeKeys(values);
    } catch (const std::exception& e) {
        ShowFailure(e);
    }
}

void TConfigForm::ShowFailure(const std::exception& failure) {
    toolkit_.ShowMessage(FormTextOf(failure), MessageKind::Error);
}

int16_t RunConfigForm(ConfigWindow& window) {
    TConfigForm& form = window.Form();
    form.Open();
    window.ShowModal();
    return form.ModalResult == 1 ? 1 : 2;
}

}  // namespace tavo
