#pragma once

#include <cstdint>
#include <string>

#include "jwc/jwc_records.h"

namespace tavo {

class TJwcFile;

// Rebuilds the header block and the three header lines from the drawing, as
// the writer does before every save. The text area length written into
// line 3 is the drawing's textAreaLength.
void RebuildHeaders(TJwcFile& drawing);

// What the reader takes from header line 1.
struct HeaderLine1 {
    int32_t counts[4];      // lines, arcs, texts, points
    int32_t paperSize;      // field 11, 1 when missing
    int32_t unitsPerSheet;  // field 30, 518 when missing, 0 or negative
    int32_t scale;          // field 9, 1 when missing (the reader itself ignores it)
};
HeaderLine1 ParseHeaderLine1(const JwcHead& head);

// The text area length that header line 3 declares (end address minus start
// address); false with `why` filled when the line cannot be read.
bool ParseTextAreaLength(const JwcHead& head, int64_t& length, std::string& why);

// Comment 1 or 2 as stored in the header block, trimmed.
std::string ReadComment(const JwcHead& head, int which);

}  // namespace tavo
