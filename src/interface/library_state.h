#pragma once

#include <memory>
#include <string>

#include "export/jw_object.h"
#include "interface/jwc_session.h"

namespace tavo {

// Everything that lives between two export calls. The host calls one export
// at a time on one thread, so nothing here is locked.
struct LibraryState {
    JwcSession jwc;
    std::unique_ptr<TJwObject> obj;  // the current export drawing
    std::string lastError;
    std::string lastClipboardText;  // the bytes last put on the clipboard

    // The current export drawing; throws when there is none.
    TJwObject& exportDrawing() const;
};

LibraryState& State();

}  // namespace tavo
