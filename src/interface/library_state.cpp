#include "interface/library_state.h"

#include <vector>

#include "base/error.h"

namespace tavo {

LibraryState& State() {
    static LibraryState state;
    return state;
}

LibraryState::~LibraryState() {
    if (!progress) return;
    static auto* const leftOpen = new std::vector<std::shared_ptr<ProgressWindow>>;
    leftOpen->push_back(std::move(progress));
}

TJwObject& LibraryState::exportDrawing() const {
    if (!obj) throw Error("there is no current export drawing: call ObjCreateByInifile first");
    return *obj;
}

}  // namespace tavo
