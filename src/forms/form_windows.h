#pragma once

#include <memory>

#include "forms/config_form.h"
#include "forms/progress_form.h"
#include "forms/show_viewer.h"

namespace tavo::gui {

// The windows the exports show, made by the front end the build links: the
// Qt windows on Linux (gui/), the native ones on Windows (win32/). Each
// throws tavo::Error with the reason when it cannot show its window (no
// display, or no such window in this build).
std::unique_ptr<ViewerWindow> CreateViewerWindow(SettingsStore settings, platform::Clipboard& clipboard);
std::unique_ptr<ProgressWindow> CreateProgressWindow();
std::unique_ptr<ConfigWindow> CreateConfigWindow(ConfigMode mode, SettingsStore settings);

}  // namespace tavo::gui
