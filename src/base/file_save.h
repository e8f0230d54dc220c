#pragma once

#include <functional>
#include <string>

#include "base/byte_sink.h"

namespace tavo {

enum class Backup { None, RenameOldToBak };

// Writes a file so that a failure never costs the old one: the bytes go to a
// temporary file in the same folder, private until it is complete and on the
// disk, which then replaces the target in one step. A symbolic link is
// written through to the file it names, and a replaced file's mode and owner
// stay. With RenameOldToBak the old file's bytes stay as NAME.bak beside it,
// unless a ".bak" file of that name exists already (then the old file is
// simply replaced, as the rename-without-overwrite it mirrors does).
// Throws Error::cannotCreate naming `path` when anything fails, also when
// the target is a file this process may not write; then the target and its
// ".bak" are as they were and no temporary file is left.
void saveFile(const std::string& path, const std::function<void(ByteSink&)>& produce,
              Backup backup = Backup::None);

// Test seam: makes the N-th file operation of the following saves fail,
// counting from 1; 0 turns it off. FileOperationsCounted() tells how many
// operations ran since. (The operations are those of files/file_system.h.)
void InjectFileFault(int nthOperation);
int FileOperationsCounted();

// Reads a whole file; throws Error::cannotOpen.
std::string readWholeFile(const std::string& path);

}  // namespace tavo
