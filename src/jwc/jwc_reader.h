#pragma once

#include <string>

#include "base/byte_source.h"

namespace tavo {

class TJwcFile;

// Reads a .jwc file into an existing drawing: records and texts are appended,
// header blocks, tables and scalars overwritten. Both framings load: the
// application's (2304 bytes of names, LF block ends) and the one this
// system wrote before (2305, NUL); a short or missing name area leaves the
// names blank. A file that ends before its names, or is malformed, throws an
// Error naming the file, the byte offset and the block; records read
// completely before that stay appended.
void ReadJwc(TJwcFile& drawing, ByteSource& source, const std::string& name);
void LoadJwcFile(TJwcFile& drawing, const std::string& path);

}  // namespace tavo
