#include "interface/library_state.h"

#include <new>

#include "base/error.h"

namespace tavo {

LibraryState& State() {
    static LibraryState state;
    return state;
}

LibraryState::~LibraryState() {
    if (!progress) return;
    // Moved into storage that is never destroyed.
    using Kept = std::shared_ptr<ProgressWindow>;
    alignas(Kept) static unsigned char keep[sizeof(Kept)];
    new (static_cast<void*>(keep)) Kept(std::move(progress));
}

TJwObject& LibraryState::exportDrawing() const {
    if (!obj) throw Error("there is no current export drawing: call ObjCreateByInifile first");
    return *obj;
}

}  // namespace tavo
