#include "platform/clipboard.h"

#include <cstdlib>
#include <memory>

#include "platform/qt_clipboard.h"

namespace tavo::platform {

namespace {

bool set(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

}  // namespace

Clipboard& SystemClipboard() {
    static const std::unique_ptr<Clipboard> clipboard = []() -> std::unique_ptr<Clipboard> {
        // Without any display Qt would abort the host; keep the text here.
        if (set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM")) return MakeQtClipboard();
        return std::make_unique<MemoryClipboard>();
    }();
    return *clipboard;
}

}  // namespace tavo::platform
