#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "forms/form_toolkit.h"
#include "forms/jw_brws_design.h"
#include "settings/settings_store.h"
#include "viewer/jw_brws.h"

namespace tavo {

namespace platform {
class Clipboard;
}

class TJwObject;

// A window's place on the screen: its outer bounds in pixels.
struct WindowPlacement {
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    bool Maximized = false;
    bool operator==(const WindowPlacement& o) const {
        return Left == o.Left && Top == o.Top && Width == o.Width && Height == o.Height && Maximized == o.Maximized;
    }
};

// The part of the screen a window may take.
struct ScreenArea {
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

struct ActionState {
    bool Enabled = true;
    bool Checked = false;
};

// Virtual-key code of Esc; the arrows are the viewer's.
constexpr int kKeyEscape = 0x1B;

// The preview window's behaviour: its actions, keys, the save dialogs and
// the keys it keeps in "tavo.ini". A front end shows it and forwards the
// user's doings; the model answers through the toolkit.
class TJwBrwsForm {
public:
    // FormCreate: the viewer, whose completed range selection enables
    // copying. The copy action puts its text on `clipboard`.
    TJwBrwsForm(FormToolkit& toolkit, SettingsStore settings, platform::Clipboard& clipboard);
    TJwBrwsForm(const TJwBrwsForm&) = delete;
    TJwBrwsForm& operator=(const TJwBrwsForm&) = delete;

    TJwBrws Viewer;
    int32_t PlaceLeft = 0, PlaceTop = 0;
    int32_t PlaceWidth = 0, PlaceHeight = 0;
    bool Maximized = false;
    std::string FileName;  // proposed by the save dialogs, whatever its extension
    std::string FilePath;  // folder of the last file saved, with its separator
    // 0 while the window runs; the modal loop ends when it is set.
    int32_t ModalResult = 0;

    const ActionState& Action(JwBrwsAction action) const;
    void Execute(JwBrwsAction action);

    // Reads the keys; the window then opens as `OpenPlacement` says.
    void FormShow();
    // The bounds the window opens with on `screen`: the stored size centred
    // (kept within the screen), or, maximized, the designed size centred
    // behind the maximized window.
    WindowPlacement OpenPlacement(const ScreenArea& screen) const;
    // Keeps `now` and writes the keys; throws tavo::Error when "tavo.ini"
    // cannot be written.
    void FormDestroy(const WindowPlacement& now);
    // A key pressed anywhere in the window; true when it is used up.
    bool FormKeyDown(int key);
    // The window was closed some other way than by the close action.
    void FormCloseByUser();

    // The viewer's area got its size. Until its first paint the view is
    // fitted again, so that it fits the size the user first sees.
    void ViewerResized(int32_t width, int32_t height);
    void ViewerPainted() { viewerPainted_ = true; }

    void FileCloseExecute();
    void FileSaveExecute();
    void FileSaveTxtExecute();
    void EditSelectExecute();
    void EditSelAllExecute();
    void EditCopyExecute();
    void ShowHelpExecute();

private:
    struct SaveKind;
    void SaveAs(const SaveKind& kind);
    ActionState& State(JwBrwsAction action) { return actions_[static_cast<std::size_t>(action)]; }
    void ShowFailure(const std::exception& failure);

    FormToolkit& toolkit_;
    SettingsStore settings_;
    platform::Clipboard& clipboard_;
    std::array<ActionState, kJwBrwsActionCount> actions_{};
    bool viewerPainted_ = false;
};

// The help topic of the preview window in "tavo.hlp".
constexpr int32_t kJwBrwsHelpContext = 1210;

}  // namespace tavo
