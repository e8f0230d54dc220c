#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavo {

class TJwcFile;

// How a loaded .jwc file is framed, and what of it a save does not carry
// over: what `tavo info` tells about a file beyond its contents.
struct JwcFraming {
    bool floatScales = false;   // the 64-byte float group scale table
    int32_t headerBytes = 0;    // bytes before the first record: 2389, or 2421 with float scales
    uint8_t blockEnds[4] = {};  // last byte of the four header blocks
    int32_t line1Fields = 0;    // the application writes 31 or 32
    int32_t temporaryPoints = 0;
    uint32_t textPoolStart = 0;   // segment × 65536 + offset
    uint64_t nameAreaBytes = 0;   // as found after the point records; the names take 2304
    uint32_t reservedBytesSet = 0;  // non-zero bytes of the reserved block: kept, not understood

    // What a save writes differently.
    struct RoundedScale {
        int group;
        float scale;
        int16_t written;
    };
    std::vector<RoundedScale> roundedScales;  // float scales that are not whole numbers
    std::vector<int> line1FieldsRewritten;    // fixed fields of header line 1 that held other values
    bool line2Rewritten = false;              // header line 2 held other settings than the fixed ones
};

// The framing of a drawing as the reader left it (before any save).
JwcFraming DescribeFraming(const TJwcFile& drawing);

// The same as labelled lines ("Name area", "2304 bytes") for `tavo info`.
std::vector<std::pair<std::string, std::string>> FramingLines(const JwcFraming& framing);

}  // namespace tavo
