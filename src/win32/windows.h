#pragma once

#include <memory>

#include "forms/config_form.h"
#include "forms/progress_form.h"
#include "forms/show_viewer.h"

namespace tavo::win32 {

// The windows the exports show, as native windows (viewer_window.cpp,
// progress_form.cpp, config_window.cpp). Each throws tavo::Error with the
// reason when it cannot show its window (the window class cannot be made).
std::unique_ptr<ViewerWindow> CreateViewerWindow(SettingsStore settings, platform::Clipboard& clipboard);
std::unique_ptr<ProgressWindow> CreateProgressWindow();
std::unique_ptr<ConfigWindow> CreateConfigWindow(ConfigMode mode, SettingsStore settings);

}  // namespace tavo::win32
