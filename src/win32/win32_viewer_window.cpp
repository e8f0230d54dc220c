// The preview window has no native window in this build yet: the exports
// that show it return their neutral result and say so.
#include "base/error.h"
#include "forms/form_windows.h"

namespace tavo {

std::unique_ptr<ViewerWindow> gui::CreateViewerWindow(SettingsStore /*settings*/, platform::Clipboard& /*clipboard*/) {
    throw Error("the preview window is not available in this build");
}

}  // namespace tavo
