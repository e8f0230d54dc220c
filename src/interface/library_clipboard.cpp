#include "interface/library_clipboard.h"

#include "interface/library_state.h"

namespace tavo {

void PutOnClipboard(LibraryState& state, std::string text) {
    state.lastClipboardText = std::move(text);
    platform::SystemClipboard().setText(state.lastClipboardText);
}

}  // namespace tavo
