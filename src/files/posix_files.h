#pragma once

#include <string>

namespace tavo::platform {

// Temporary files of a save: unnamed (O_TMPFILE) where the folder's file
// system has them, else named ".tavo-XXXXXXXX.tmp", private, and locked while
// in use; a save that finds such a file nobody holds (left by a process that
// was killed) removes it.

// For tests: false makes every save use the named temporary file.
void UseUnnamedTemporaries(bool use);
// Whether the file system of `folder` gives unnamed temporary files.
bool FolderHasUnnamedTemporaries(const std::string& folder);

}  // namespace tavo::platform
