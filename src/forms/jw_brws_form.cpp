#include "forms/jw_brws_form.h"

#include <algorithm>

#include "base/error.h"
#include "base/number_text.h"
#include "base/path_text.h"
#include "export/export_jwc_writer.h"
#include "export/export_jwt_writer.h"
#include "export/jww_writer.h"
#include "forms/form_texts.h"
#include "platform/clipboard.h"
#include "settings/profile_file.h"
#include "settings/settings_keys.h"

namespace tavo {

namespace {

constexpr const char* kSectionJwBrws = "JwBrws";
constexpr const char* kIniLeft = "Left";
constexpr const char* kIniTop = "Top";
constexpr const char* kIniWidth = "Width";
constexpr const char* kIniHeight = "Height";
constexpr const char* kIniMaximized = "IsMaxma";
constexpr const char* kIniFileName = "FileName";
constexpr const char* kIniFilePath = "FilePath";

// A window smaller than this could not even show its toolbar's first
// buttons; a stored size below it is raised to it.
constexpr int32_t kMinWidth = 160, kMinHeight = 120;

int32_t ReadInt(const ProfileText& ini, const char* key, int32_t fallback) {
    return parseInt32Or(ini.read(kSectionJwBrws, key, ""), fallback);
}

// The profile functions read a file they cannot open as an empty one.
ProfileText ReadableIni(const SettingsStore& settings) {
    try {
        return settings.loadIni();
    } catch (const Error&) {
        return ProfileText();
    }
}

WindowPlacement Centred(const ScreenArea& screen, int32_t width, int32_t height) {
    const int32_t w = std::max(kMinWidth, std::min(width, std::max(screen.Width, kMinWidth)));
    const int32_t h = std::max(kMinHeight, std::min(height, std::max(screen.Height, kMinHeight)));
    return {screen.Left + (screen.Width - w) / 2, screen.Top + (screen.Height - h) / 2, w, h, false};
}

}  // namespace

struct TJwBrwsForm::SaveKind {
    const char* DefaultExt;
    const char* Filter;
    const char* Extension;
    void (*Write)(const TJwObject& drawing, const std::string& path);
};

TJwBrwsForm::TJwBrwsForm(FormToolkit& toolkit, SettingsStore settings, platform::Clipboard& clipboard)
    : PlaceWidth(JwBrwsDesign().Width),
      PlaceHeight(JwBrwsDesign().Height),
      toolkit_(toolkit),
      settings_(std::move(settings)),
      clipboard_(clipboard) {
    State(JwBrwsAction::EditCopy).Enabled = false;
    Viewer.OnSelected = [this](TJwBrws&) {
        State(JwBrwsAction::EditCopy).Enabled = true;
        toolkit_.Repaint();
    };
}

const ActionState& TJwBrwsForm::Action(JwBrwsAction action) const {
    return actions_[static_cast<std::size_t>(action)];
}

void TJwBrwsForm::Execute(JwBrwsAction action) {
    if (!Action(action).Enabled) return;
    switch (action) {
        case JwBrwsAction::FileClose: FileCloseExecute(); break;
        case JwBrwsAction::FileSave: FileSaveExecute(); break;
        case JwBrwsAction::FileSaveTxt: FileSaveTxtExecute(); break;
        case JwBrwsAction::EditSelect: EditSelectExecute(); break;
        case JwBrwsAction::EditSelAll: EditSelAllExecute(); break;
        case JwBrwsAction::EditCopy: EditCopyExecute(); break;
        case JwBrwsAction::ShowHelp: ShowHelpExecute(); break;
    }
    toolkit_.Repaint();
}

void TJwBrwsForm::FormShow() {
    const ProfileText ini = ReadableIni(settings_);
    Maximized = ReadHostBool(ini.read(kSectionJwBrws, kIniMaximized, ""), false) != 0;
    PlaceLeft = ReadInt(ini, kIniLeft, 0);
    PlaceTop = ReadInt(ini, kIniTop, 0);
    PlaceWidth = ReadInt(ini, kIniWidth, JwBrwsDesign().Width);
    PlaceHeight = ReadInt(ini, kIniHeight, JwBrwsDesign().Height);
    FileName = ini.read(kSectionExport, kIniFileName, "");
    FilePath = ini.read(kSectionExport, kIniFilePath, settings_.folder());
    State(JwBrwsAction::EditCopy).Enabled = false;
    viewerPainted_ = false;
    Viewer.FitPaper();
}

WindowPlacement TJwBrwsForm::OpenPlacement(const ScreenArea& screen) const {
    // The stored left and top take no effect: the window opens centred.
    if (Maximized) {
        WindowPlacement p = Centred(screen, JwBrwsDesign().Width, JwBrwsDesign().Height);
        p.Maximized = true;
        return p;
    }
    return Centred(screen, PlaceWidth, PlaceHeight);
}

void TJwBrwsForm::FormDestroy(const WindowPlacement& now) {
    Maximized = now.Maximized;
    std::vector<SettingsStore::KeyValue> keys;
    // While maximized the last normal placement stays in the file.
    if (!Maximized) {
        PlaceLeft = now.Left;
        PlaceTop = now.Top;
        PlaceWidth = now.Width;
        PlaceHeight = now.Height;
        keys = {{kSectionJwBrws, kIniLeft, std::to_string(PlaceLeft)},
                {kSectionJwBrws, kIniTop, std::to_string(PlaceTop)},
                {kSectionJwBrws, kIniWidth, std::to_string(PlaceWidth)},
                {kSectionJwBrws, kIniHeight, std::to_string(PlaceHeight)}};
    }
    keys.push_back({kSectionJwBrws, kIniMaximized, Maximized ? "1" : "0"});
    keys.push_back({kSectionExport, kIniFileName, FileName});
    keys.push_back({kSectionExport, kIniFilePath, FilePath});
    settings_.writeKeys(keys);
}

bool TJwBrwsForm::FormKeyDown(int key) {
    if (key == kKeyEscape) {
        Viewer.ClearSelection();
        State(JwBrwsAction::EditSelect).Checked = false;
        State(JwBrwsAction::EditCopy).Enabled = false;
        toolkit_.Repaint();
        return false;
    }
    return Viewer.KeyDown(key);
}

void TJwBrwsForm::FormCloseByUser() {
    // What a modal window closed from its frame returns: cancel.
    if (ModalResult == 0) ModalResult = 2;
}

void TJwBrwsForm::ViewerResized(int32_t width, int32_t height) {
    Viewer.SetSize(width, height);
    if (!viewerPainted_) Viewer.FitPaper();
}

void TJwBrwsForm::FileCloseExecute() { ModalResult = 1; }

void TJwBrwsForm::FileSaveExecute() {
    static const SaveKind kJwc{"jwc", sjis::kJwcFilter, ".jwc", &SaveExportAsJwc};
    SaveAs(kJwc);
}

void TJwBrwsForm::FileSaveTxtExecute() {
    static const SaveKind kTxt{"txt", sjis::kTxtFilter, ".txt", &SaveJww};
    SaveAs(kTxt);
}

void TJwBrwsForm::SaveAs(const SaveKind& kind) {
    if (!Viewer.Drawing) return;
    const std::optional<std::string> chosen =
        toolkit_.AskSaveFileName({kind.DefaultExt, kind.Filter, changeFileExt(FileName, kind.Extension), FilePath});
    if (!chosen) return;
    try {
        kind.Write(*Viewer.Drawing, *chosen);
    } catch (const std::exception& e) {
        // The window stays, and so do the names: nothing was saved.
        ShowFailure(e);
        return;
    }
    FileName = *chosen;
    FilePath = extractFilePath(*chosen);
    toolkit_.ShowMessage({sjis::kSavedBefore, *chosen, sjis::kSavedAfter}, MessageKind::Information);
}

void TJwBrwsForm::EditSelectExecute() {
    Viewer.BeginRangeSelect();
    State(JwBrwsAction::EditSelect).Checked = true;
}

void TJwBrwsForm::EditSelAllExecute() {
    Viewer.SelectAll();
    State(JwBrwsAction::EditCopy).Enabled = true;
}

void TJwBrwsForm::EditCopyExecute() {
    if (!Viewer.Drawing) return;
    try {
        clipboard_.setText(ExportToJwt(*Viewer.Drawing, JwtSelection::SelectedOnly));
    } catch (const std::exception& e) {
        ShowFailure(e);
        return;
    }
    Viewer.ClearSelection();
    State(JwBrwsAction::EditSelect).Checked = false;
}

void TJwBrwsForm::ShowHelpExecute() {
    try {
        toolkit_.ShowHelp(settings_.folder() + "tavo.hlp", kJwBrwsHelpContext);
    } catch (const std::exception& e) {
        ShowFailure(e);
    }
}

void TJwBrwsForm::ShowFailure(const std::exception& failure) {
    toolkit_.ShowMessage(FormTextOf(failure), MessageKind::Error);
}

}  // namespace tavo
