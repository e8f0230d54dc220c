#pragma once

#include <string>

namespace tavo {

class TJwObject;

enum class JwtSelection { Everything, SelectedOnly };

// The JWT text of an export drawing, values as stored (real-world mm,
// degrees). Solids are never written; hidden groups and layers are.
std::string ExportToJwt(const TJwObject& drawing, JwtSelection which = JwtSelection::Everything);

}  // namespace tavo
