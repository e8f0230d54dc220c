#pragma once

#include <string>

#include "interface/jwc_session.h"

namespace tavo {

// Everything that lives between two export calls. The host calls one export
// at a time on one thread, so nothing here is locked.
struct LibraryState {
    JwcSession jwc;
    std::string lastError;
};

LibraryState& State();

}  // namespace tavo
