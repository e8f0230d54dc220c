#pragma once

#include <string>

#include "base/byte_sink.h"

namespace tavo {

class TJwObject;

// The JWW coordinate file: one record per line, CR LF ends, real-world
// millimetres in the runtime's "%.7e" form, attribute records only where an
// attribute changes.
void WriteJww(const TJwObject& drawing, ByteSink& sink);

// Writes the whole file beside the target and replaces it only when
// complete; fails with "ファイル %s を作成できません".
void SaveJww(const TJwObject& drawing, const std::string& path);

}  // namespace tavo
