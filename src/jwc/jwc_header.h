#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jwc/jwc_records.h"

namespace tavo {

class TJwcFile;

// Where the writer puts the text pool (header line 3's first address): JW_CAD
// saves it at 4000:0000, and readers take each text reference minus 0x40000000
// as the text's place in the pool. Each text record points at its text as a
// linear address: this start plus the text's offset, a pool past 64 KiB
// carrying into the next segment.
constexpr uint32_t kTextPoolStart = 0x40000000;

// The last byte of each 200-byte header block, as the application writes it.
constexpr char kHeaderBlockEnd = '\n';

// Rebuilds the header block and the three header lines from the drawing, as
// the writer does before every save. The text area length written into
// line 3 is the drawing's textAreaLength.
void RebuildHeaders(TJwcFile& drawing);

// What the reader takes from header line 1.
struct HeaderLine1 {
    int32_t counts[4];        // lines, arcs, texts, points
    int32_t temporaryPoints;  // field 4: how many of the points are temporary; 0 when missing
    int32_t paperSize;        // field 11, 1 when missing
    int32_t unitsPerSheet;    // field 30, 518 when missing, 0 or negative
    int32_t scale;            // field 9, 1 when missing (the reader itself ignores it)
    int32_t fieldCount;       // 32 as written here, 31 or 32 from the application
};
HeaderLine1 ParseHeaderLine1(const JwcHead& head);

// The text pool that header line 3 declares: its start address
// (segment × 65536 + offset) and its length (end address minus start).
struct TextPool {
    int64_t start = 0;
    int64_t length = 0;
};
// False with `why` filled when the line cannot be read.
bool ParseTextPool(const JwcHead& head, TextPool& pool, std::string& why);

// Comment 1 or 2 as stored in the header block, trimmed.
std::string ReadComment(const JwcHead& head, int which);

// What a save writes differently from what the header holds: the numbers of
// the fixed fields of header line 1 that hold other values, and whether
// header line 2 is other than the fixed text.
std::vector<int> Line1FieldsRewrittenOnSave(const JwcHead& head);
bool Line2RewrittenOnSave(const JwcHead& head);

}  // namespace tavo
