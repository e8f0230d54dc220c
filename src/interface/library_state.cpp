#include "interface/library_state.h"

namespace tavo {

LibraryState& State() {
    static LibraryState state;
    return state;
}

}  // namespace tavo
