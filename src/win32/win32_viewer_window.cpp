// The preview window the exports show: the native one.
#include "forms/form_windows.h"
#include "win32/win32_jw_brws_form.h"

namespace tavo {

std::unique_ptr<ViewerWindow> gui::CreateViewerWindow(SettingsStore settings, platform::Clipboard& clipboard) {
    return win32::CreateJwBrwsForm(std::move(settings), clipboard);
}

}  // namespace tavo
