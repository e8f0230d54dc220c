#include "jwc/jwc_framing.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>

#include "jwc/jwc_file.h"
#include "jwc/jwc_header.h"

namespace tavo {

namespace {


std::string blockEndName(uint8_t c) {
    if (c == '\n') return "LF";
    if (c == '\r') return "CR";
    if (c == 0) return "NUL";
    std::array<char, 8> hex{};
    std::snprintf(hex.data(), hex.size(), "0x%02X", c);
    return hex.data();
}

std::string nameAreaText(uint64_t bytes) {
    if (bytes == 0) return "none (blank names)";
    std::string size = std::to_string(bytes) + " bytes";
    if (bytes == kJwcNameBytes) return size;
    if (bytes < kJwcNameBytes) return size + " (short: the names it lacks are blank)";
    return size + " (" + std::to_string(bytes - kJwcNameBytes) + " past the names, not kept)";
}

std::string joined(const std::vector<std::string>& parts, const char* none) {
    if (parts.empty()) return none;
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : "; ") + p;
    return out;
}

std::string savedChanges(const JwcFraming& f) {
    std::vector<std::string> parts;
    for (const JwcFraming::RoundedScale& r : f.roundedScales) {
        std::array<char, 80> text{};
        std::snprintf(text.data(), text.size(), "group %d scale %g written as %d", r.group,
                      static_cast<double>(r.scale), r.written);
        parts.emplace_back(text.data());
    }
    if (!f.line1FieldsRewritten.empty()) {
        std::string fields = "header line 1 field";
        fields += f.line1FieldsRewritten.size() > 1 ? "s " : " ";
        for (std::size_t i = 0; i < f.line1FieldsRewritten.size(); ++i)
            fields += (i ? ", " : "") + std::to_string(f.line1FieldsRewritten[i]);
        parts.push_back(fields);
    }
    if (f.line2Rewritten) parts.emplace_back("header line 2");
    return joined(parts, "nothing beyond the framing");
}

}  // namespace

JwcFraming DescribeFraming(const TJwcFile& d) {
    JwcFraming f;
    const JwcHead& h = d.head;
    f.floatScales = !d.oldFormat;
    f.headerBytes = static_cast<int32_t>(sizeof(JwcHead) + (f.floatScales ? sizeof d.groupScaleFloat : sizeof d.groupScaleInt) +
                                         sizeof(JwcLayerTables));
    f.blockEnds[0] = h.TitleBlock[199];
    f.blockEnds[1] = static_cast<uint8_t>(h.Line1[199]);
    f.blockEnds[2] = static_cast<uint8_t>(h.Line2[199]);
    f.blockEnds[3] = static_cast<uint8_t>(h.Line3[199]);
    const HeaderLine1 line1 = ParseHeaderLine1(h);
    f.line1Fields = line1.fieldCount;
    f.temporaryPoints = d.temporaryPoints;
    TextPool pool;
    std::string why;
    if (ParseTextPool(h, pool, why)) f.textPoolStart = static_cast<uint32_t>(pool.start);
    f.nameAreaBytes = d.nameAreaBytes;
    f.reservedBytesSet = static_cast<uint32_t>(
        std::count_if(std::begin(h.Reserved), std::end(h.Reserved), [](uint8_t b) { return b != 0; }));
    if (f.floatScales) {
        for (int g = 0; g < 16; ++g) {
            if (static_cast<float>(d.groupScaleInt[g]) != d.groupScaleFloat[g])
                f.roundedScales.push_back({g, d.groupScaleFloat[g], d.groupScaleInt[g]});
        }
    }
    f.line1FieldsRewritten = Line1FieldsRewrittenOnSave(h);
    f.line2Rewritten = Line2RewrittenOnSave(h);
    return f;
}

std::vector<std::pair<std::string, std::string>> FramingLines(const JwcFraming& f) {
    std::array<char, 16> pool{};
    std::snprintf(pool.data(), pool.size(), "%.4X:%.4X", static_cast<unsigned>(f.textPoolStart >> 16),
                  static_cast<unsigned>(f.textPoolStart & 0xFFFF));
    std::string ends;
    for (uint8_t c : f.blockEnds) ends += (ends.empty() ? "" : " ") + blockEndName(c);
    const std::string header = " (" + std::to_string(f.headerBytes) + "-byte header)";
    return {
        {"Group scales", (f.floatScales ? "float table" : "integer table") + header},
        {"Header line 1", std::to_string(f.line1Fields) + " fields"},
        {"Temporary points", std::to_string(f.temporaryPoints)},
        {"Text pool", pool.data()},
        {"Header block ends", ends},
        {"Name area", nameAreaText(f.nameAreaBytes)},
        {"Kept, not understood",
         f.reservedBytesSet ? "reserved block (" + std::to_string(f.reservedBytesSet) + " of 909 bytes set)"
                            : "nothing"},
        {"Changed by a save", savedChanges(f)},
    };
}

}  // namespace tavo
