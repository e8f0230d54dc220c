#include "qt/offscreen_gui.h"

#include "platform/qt_application.h"

namespace tavo {

OffscreenGui::OffscreenGui() { platform::EnsureQtApplication(platform::QtUse::Images); }

}  // namespace tavo
