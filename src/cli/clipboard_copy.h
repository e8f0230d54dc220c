#pragma once

#include <string>

namespace tavo::cli {

// Puts JWT text (Shift-JIS) on the desktop's clipboard and keeps it there
// after tavo has ended: a background process owns the clipboard until
// another program takes it, as xclip and wl-copy do. Throws CommandError
// when no display is set or the clipboard cannot be reached.
void CopyToDesktopClipboard(const std::string& cp932);

}  // namespace tavo::cli
