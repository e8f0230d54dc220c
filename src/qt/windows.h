#pragma once

#include <memory>

#include "forms/config_form.h"
#include "forms/progress_form.h"
#include "forms/show_viewer.h"

namespace tavo::qt {

// The windows the exports show, as Qt windows (each defined beside its
// window: jw_brws_form.cpp, progress_form.cpp, config_form.cpp). Each first
// makes sure the process's Qt application can show windows and throws
// tavo::Error ("no display is available ...") when it cannot.
std::unique_ptr<ViewerWindow> CreateViewerWindow(SettingsStore settings, platform::Clipboard& clipboard);
std::unique_ptr<ProgressWindow> CreateProgressWindow();
std::unique_ptr<ConfigWindow> CreateConfigWindow(ConfigMode mode, SettingsStore settings);

}  // namespace tavo::qt
