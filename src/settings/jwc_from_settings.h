#pragma once

#include <memory>

#include "jwc/jwc_file.h"
#include "settings/settings_record.h"

namespace tavo {

// A new JWC drawing as the stored settings describe it: paper, scale, group
// scales and the text sizes 1 to 10.
std::unique_ptr<TJwcFile> MakeJwcFromSettings(const TSettings& settings);

}  // namespace tavo
