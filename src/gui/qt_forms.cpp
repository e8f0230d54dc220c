#include "gui/qt_forms.h"

#include <string>

#include "base/error.h"
#include "gui/qt_jw_brws_form.h"
#include "gui/qt_progress_form.h"
#include "platform/qt_application.h"

namespace tavo::gui {

namespace {

void RequireWindows() {
    std::string why;
    if (!platform::EnsureQtApplication(platform::QtUse::Windows, &why)) throw Error(why);
}

}  // namespace

std::unique_ptr<ViewerWindow> CreateViewerWindow(SettingsStore settings, platform::Clipboard& clipboard) {
    RequireWindows();
    return std::make_unique<QtJwBrwsForm>(std::move(settings), clipboard);
}

std::unique_ptr<ProgressWindow> CreateProgressWindow() {
    RequireWindows();
    return std::make_unique<QtProgressForm>();
}

}  // namespace tavo::gui
