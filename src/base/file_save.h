#pragma once

#include <functional>
#include <string>

#include "base/byte_sink.h"

namespace tavo {

enum class Backup { None, RenameOldToBak };

// Writes a file so that a failure never costs the old one: the bytes go to a
// temporary file in the same folder, which replaces the target only once it
// is complete. With RenameOldToBak an existing target first becomes
// NAME.bak, unless a ".bak" file of that name exists already (then the old
// file is simply replaced, as the rename-without-overwrite it mirrors does).
// Throws Error::cannotCreate naming `path` when anything fails; no temporary
// file is left behind.
void saveFile(const std::string& path, const std::function<void(ByteSink&)>& produce,
              Backup backup = Backup::None);

// Reads a whole file; throws Error::cannotOpen.
std::string readWholeFile(const std::string& path);

}  // namespace tavo
