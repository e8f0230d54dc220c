#include "interface/library_state.h"

#include "base/error.h"

namespace tavo {

LibraryState& State() {
    static LibraryState state;
    return state;
}

TJwObject& LibraryState::exportDrawing() const {
    if (!obj) throw Error("there is no current export drawing: call ObjCreateByInifile first");
    return *obj;
}

}  // namespace tavo
