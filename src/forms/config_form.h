#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/config_design.h"
#include "forms/form_toolkit.h"
#include "settings/settings_store.h"

namespace tavo {

// What the settings dialog asks of its toolkit beyond the forms' common
// calls.
class ConfigToolkit : public FormToolkit {
public:
    // An open-file dialog; the chosen file, or nothing when cancelled.
    virtual std::optional<std::string> AskOpenFileName(const SaveDialogRequest& request) = 0;
};

// The settings dialog's behaviour. It holds the values of the controls (the
// texts of the boxes and grids, the checked buttons, the list indices); a
// front end shows them, writes back what the user edits and calls the
// handlers, and shows them again on Repaint. Texts are Shift-JIS.
class TConfigForm {
public:
    TConfigForm(ConfigMode mode, ConfigToolkit& toolkit, SettingsStore settings);
    TConfigForm(const TConfigForm&) = delete;
    TConfigForm& operator=(const TConfigForm&) = delete;

    const ConfigMode Mode;
    TSettings Settings{};
    std::string Comment1, Comment2, FileName, FilePath, DumpName;
    TDumpChecks DumpChecks{};
    uint8_t CurrentPage = 0;
    bool TreeReady = false;
    std::vector<ConfigTreeEntry> Tree;
    ConfigPanel ShownPanel = ConfigPanel::None;
    int32_t ModalResult = 0;  // 1 OK, 2 otherwise; 0 while open

    // Target page. -1: no button checked.
    int TargetChecked = -1;
    std::string edCom1, edCom2, edFName;
    bool ExtraGroupEnabled = false, CommentsEnabled = true;
    const char* ExtraGroupCaption;
    int PlacementChecked = -1;
    // Paper and scale page.
    std::string edDimen, edScale;
    int cbDraft = -1;
    bool SameScaleChecked = true;
    std::array<std::array<std::string, kGroupScaleCols>, kGroupScaleRows> sgGroupScale;
    // Layer page: list indices 0..15.
    int cbRGrp = 0, cbRLay = 0, cbMGrp = 0, cbMLay = 0, cbSGrp = 0, cbSLay = 0;
    std::string edRCol, edSPenNo;
    // Line colour and line type pages.
    std::array<std::string, kSwatchCount> ColorBoxes;  // Edit1..Edit40
    std::array<std::string, 13> TypeBoxes;             // edtT1..edtT13
    std::string edDouble;
    // Text table page.
    std::array<std::array<std::string, kMojiCols>, kMojiRows> sgTable;
    // Options and dump pages.
    bool ExchangeCaretChecked = false, ExchangeSolidChecked = false;
    std::string edDumpName;
    std::array<bool, 4> DumpBoxes{};

    // The opening steps: reads the strings and the settings of the mode,
    // builds the tree, fills the pages and selects the first node. Throws
    // tavo::Error when "tavo.ini" cannot be read.
    void Open();

    void tvContentsChange(uint8_t page);
    void rbToPreviewClick(int target);
    void rbSameScaleClick(bool same);
    void bnSaveAsClick();
    void bnDumpFileClick();
    void bnIniColorClick();
    void bnIniTypeClick();
    void bnMojiIniClick();
    void bnHelpClick();
    void bnRenewalClick();
    // Stores the pages of the mode and writes everything as one change of
    // "tavo.ini"; when that fails the file stays as it was, the message is
    // shown and the dialog stays open.
    void bnOkClick();
    // Cancel, Esc, the close box: nothing is written.
    void Cancel() { ModalResult = 2; }

    // The stores of the pages.
    void StoreTarget();
    void StoreTargetBuild();
    void StoreScale();
    void StoreLayers();
    void StoreColors();
    void StoreTypes();
    void StoreMoji();
    void StoreOptions();
    void StoreDump();

    // Whether the front end shows the controls that build mode hides.
    bool ShowsPlacement() const { return Mode != ConfigMode::Build; }
    bool ShowsJwwTarget() const { return Mode != ConfigMode::Build; }

private:
    void FillTarget();
    void FillScale();
    void FillLayers();
    void FillColors();
    void FillTypes();
    void FillMoji();
    void FillOptions();
    void FillDump();
    void AdjustTargetGroup(int target);
    std::vector<SettingsStore::KeyValue> RecordValues() const;
    std::vector<SettingsStore::KeyValue> StringValues() const;
    std::vector<SettingsStore::KeyValue> DumpValues() const;
    void Write(const std::vector<SettingsStore::KeyValue>& values);
    void ShowFailure(const std::exception& failure);

    ConfigToolkit& toolkit_;
    SettingsStore settings_;
};

// A front end's settings dialog, bound to its TConfigForm.
class ConfigWindow {
public:
    virtual ~ConfigWindow() = default;
    virtual TConfigForm& Form() = 0;
    // Shows the dialog modally until the form has a modal result.
    virtual void ShowModal() = 0;
};

// The export's steps: the form opened, the dialog shown, 1 for OK, else 2.
int16_t RunConfigForm(ConfigWindow& window);

}  // namespace tavo
