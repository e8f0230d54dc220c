// The preview window the exports show: the native one.
#include "win32/windows.h"
#include "win32/jw_brws_form.h"

namespace tavo {

std::unique_ptr<ViewerWindow> win32::CreateViewerWindow(SettingsStore settings, platform::Clipboard& clipboard) {
    return win32::CreateJwBrwsForm(std::move(settings), clipboard);
}

}  // namespace tavo
