#pragma once

#include <memory>
#include <string>

#include "export/jw_object.h"
#include "jwc/jwc_session.h"

namespace tavo {

class ProgressWindow;

// Everything that lives between two export calls. The host calls one export
// at a time on one thread, so nothing here is locked.
struct LibraryState {
    JwcSession jwc;
    std::unique_ptr<TJwObject> obj;  // the current export drawing
    std::string lastError;
    std::string lastClipboardText;  // the bytes last put on the clipboard
    // The current progress dialog. Shared so that a Progress call keeps it
    // while it handles window events, whatever those events do.
    std::shared_ptr<ProgressWindow> progress;
    bool previewShowing = false;  // a preview window runs its modal loop
    bool configShowing = false;   // a settings dialog runs its modal loop

    LibraryState() = default;
    LibraryState(const LibraryState&) = delete;
    LibraryState& operator=(const LibraryState&) = delete;
    // A dialog still open when the process ends is left to the system: Qt
    // may be gone by then.
    ~LibraryState();

    // The current export drawing; throws when there is none.
    TJwObject& exportDrawing() const;
};

LibraryState& State();

}  // namespace tavo
