#pragma once

#include <memory>

#include "forms/config_form.h"
#include "forms/progress_form.h"
#include "forms/show_viewer.h"

namespace tavo::gui {

// The Qt windows of the forms, for the exports (each defined beside its
// window). Each first makes sure the process's Qt application can show
// windows and throws tavo::Error ("no display is available ...") when it
// cannot.
std::unique_ptr<ViewerWindow> CreateViewerWindow(SettingsStore settings, platform::Clipboard& clipboard);
std::unique_ptr<ProgressWindow> CreateProgressWindow();
std::unique_ptr<ConfigWindow> CreateConfigWindow(ConfigMode mode, SettingsStore settings);

}  // namespace tavo::gui
