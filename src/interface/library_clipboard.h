#pragma once

#include <string>

#include "platform/clipboard.h"

namespace tavo {

struct LibraryState;

// Puts JWT text on the system clipboard and keeps it for
// TavoGetClipboardText.
void PutOnClipboard(LibraryState& state, std::string text);

// The same as a clipboard, for the preview window's copy.
class LibraryClipboard final : public platform::Clipboard {
public:
    explicit LibraryClipboard(LibraryState& state) : state_(state) {}
    void setText(const std::string& cp932) override { PutOnClipboard(state_, cp932); }

private:
    LibraryState& state_;
};

}  // namespace tavo
