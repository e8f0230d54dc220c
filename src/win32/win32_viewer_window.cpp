// The preview window has no native window in this build yet: the exports
// that show it return their neutral result and say so.
#include "base/error.h"
#include "forms/form_windows.h"

namespace tavo {

// NOLINTNEXTLINE(performance-unnecessary-value-param): the window will keep the store
std::unique_ptr<ViewerWindow> gui::CreateViewerWindow(SettingsStore, platform::Clipboard&) {
    throw Error("the preview window is not available in this build");
}

}  // namespace tavo
