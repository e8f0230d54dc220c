#pragma once

#include <string>
#include <vector>

#include "cli/csv.h"

namespace tavo {
class TJwObject;
}

namespace tavo::cli {

// Replays worksheet rows (AddLine, AddText, AddTextV, AddCircle, AddSolid,
// Comment) on an export drawing, as the host's export calls would.
void ReplaySheetRows(TJwObject& drawing, const std::vector<CsvRow>& rows, bool utf8, const std::string& csvName);

// tavo export IN.csv [--to jwc|jww] -o OUT [--utf8]
int RunExport(const std::vector<std::string>& argv);

}  // namespace tavo::cli
