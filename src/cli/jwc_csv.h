#pragma once

#include <string>
#include <vector>

#include "cli/csv.h"
#include "jwc/jwc_session.h"

namespace tavo::cli {

// The CSV form of a JWC drawing: a Drawing row (paper-size index, scale), a
// Comment row, eleven Table rows, then one row per record in list order.
// Coordinates are drawing units as stored; texts are Shift-JIS bytes.
std::string DumpJwcCsv(const TJwcFile& drawing, int32_t scale);

// The kinds of those rows (case ignored).
bool IsJwcRecordKind(std::string_view kind);

struct BuildOptions {
    int plotSize = -1;  // -1: from the Drawing row, else 3
    int scale = -1;     // -1: from the Drawing row, else 100
    CoordUnit unit = CoordUnit::DrawingUnits;
};

// Creates the session's drawing and replays the rows (texts in Shift-JIS)
// through its operations. Problems name `csvName` and the row's line.
void BuildJwcFromCsv(JwcSession& session, const std::vector<CsvRow>& rows, const BuildOptions& options,
                     const std::string& csvName);

}  // namespace tavo::cli
