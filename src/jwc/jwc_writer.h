#pragma once

#include <string>

#include "base/byte_sink.h"

namespace tavo {

class TJwcFile;

// Rebuilds the drawing's header blocks (the text area length becomes the
// length of the texts actually written) and writes the whole file, framed
// as JW_CAD frames it: LF at the end of each header block, 2304 bytes of
// names, each text record pointing at its text in the pool.
void WriteJwc(TJwcFile& drawing, ByteSink& sink);

// Writes the drawing to a .jwc file; an existing file becomes NAME.bak.
void SaveJwcFile(TJwcFile& drawing, const std::string& path);

}  // namespace tavo
