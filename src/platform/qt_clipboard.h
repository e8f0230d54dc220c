#pragma once

#include <memory>

#include "platform/clipboard.h"

namespace tavo::platform {

// Qt's clipboard: the text as Unicode (from CP932) and, under
// "text/plain;charset=Shift_JIS", the exact bytes. Creates the Qt
// application object when the host has none.
std::unique_ptr<Clipboard> MakeQtClipboard();

}  // namespace tavo::platform
