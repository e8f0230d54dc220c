#include "export/dxf_names.h"

#include <algorithm>
#include <cstring>

#include "base/ascii_case.h"
#include "base/path_text.h"
#include "base/sjis_char.h"
#include "export/jw_line_types.h"
#include "export/jw_object.h"
#include "export/layer_byte.h"

namespace tavo {

namespace {

std::string partName(const std::string& name, int number) {
    std::string part = trimBlanks(name);
    return part.empty() ? std::string(1, UpperHexDigit(number)) : part;
}

bool jwNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '$' || c == '-' || c == '_';
}

// AutoCAD's names refuse these, and a code page 932 reader would join a lone
// lead byte to the line end.
std::string safeName(const std::string& name, DxfProfile profile) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        const bool pair = IsSjisLeadByte(byte) && i + 1 < name.size() &&
                          IsSjisTrailByte(static_cast<unsigned char>(name[i + 1]));
        if (profile == DxfProfile::Jw) {
            const char c = AsciiUpper(name[i]);
            out += jwNameCharacter(c) ? c : '_';
        } else if (pair) {
            out.append(name, i, 2);
        } else {
            out += byte < 0x20 || byte >= 0x80 || std::strchr("<>/\\\":;?*|=`", name[i]) ? '_' : name[i];
        }
        if (pair) ++i;
    }
    return out;
}

// The dot pattern as a line draws it: bit 1 first, bit 0 last.
bool dotAt(uint32_t pattern, int k) { return (pattern >> ((k + 1) & 31)) & 1u; }

// The shortest repeat of the pattern, in bits.
int periodOf(uint32_t pattern) {
    for (int p = 1; p < 32; ++p) {
        if (32 % p != 0) continue;
        bool repeats = true;
        for (int k = 0; k < 32 && repeats; ++k) repeats = dotAt(pattern, k) == dotAt(pattern, (k + p) % 32);
        if (repeats) return p;
    }
    return 32;
}

// Runs of dots (positive) and gaps (negative) in bits, from a dash's start.
std::vector<int> runsOf(int type) {
    const uint32_t pattern = JwLineTypePattern(type);
    const int period = periodOf(pattern);
    int from = 0;
    while (from < period && !(dotAt(pattern, from) && !dotAt(pattern, (from + period - 1) % period))) ++from;
    std::vector<int> runs;
    if (from == period) return runs;  // all dots or all gaps: no dashes
    for (int k = 0; k < period; ++k) {
        const bool dot = dotAt(pattern, (from + k) % period);
        if (runs.empty() || (runs.back() > 0) != dot) runs.push_back(0);
        runs.back() += dot ? 1 : -1;
    }
    return runs;
}

}  // namespace

DxfLayersUsed DxfLayersInUse(const TJwObject& d) {
    DxfLayersUsed used{};
    const auto take = [&](uint8_t group, uint8_t layer) { used[LayerByte(group & 15, layer & 15)] = true; };
    for (const TLineItem& e : d.Lines) take(e.Group, e.Layer);
    for (const TCircleItem& e : d.Circles) take(e.Group, e.Layer);
    for (const TDotItem& e : d.Dots) take(e.Group, e.Layer);
    for (const TTextItem& e : d.Texts) take(e.Group, e.Layer);
    for (const TSolidItem& e : d.Solids) take(e.Group, e.Layer);
    return used;
}

std::array<std::string, 256> DxfLayerNames(const TJwObject& d, const DxfLayersUsed& used, DxfProfile profile) {
    std::array<std::string, 256> names;
    std::vector<std::string> taken;
    for (int slot = 0; slot < 256; ++slot) {
        if (!used[slot]) continue;
        const TLayerGroup& group = d.LayerGroups[GroupOf(static_cast<uint8_t>(slot))];
        const int layer = LayerOf(static_cast<uint8_t>(slot));
        const std::string name =
            safeName(partName(group.Name, GroupOf(static_cast<uint8_t>(slot))) + "-" +
                         partName(group.Layers[layer].Name, layer),
                     profile);
        std::string unique = name;
        for (int n = 2; std::find(taken.begin(), taken.end(), AsciiUpperCase(unique)) != taken.end(); ++n)
            unique = name + "_" + std::to_string(n);
        taken.push_back(AsciiUpperCase(unique));
        names[slot] = unique;
    }
    return names;
}

std::string DxfLineTypeName(int type, DxfProfile profile) {
    // The standard names of the same shapes, so that a program which draws
    // line types by name (LibreCAD) draws them too.
    static const char* const kNames[kJwLineTypes + 1] = {"",       "",        "DOT2",    "DOT",   "DASHED",
                                                        "CENTER2", "CENTER", "DIVIDE2", "DIVIDE", "DOTX2"};
    const int t = UsableLineType(type);
    if (t == 1 || runsOf(t).empty()) return profile == DxfProfile::Jw ? "CONTINUOUS" : "Continuous";
    return kNames[t];
}

std::vector<double> DxfLineTypeDashes(int type) {
    std::vector<double> dashes;
    for (const int run : runsOf(UsableLineType(type))) dashes.push_back(run * kDxfLineTypeDot);
    return dashes;
}

std::string DxfLineTypeDescription(int type) {
    std::string text;
    const std::vector<int> runs = runsOf(UsableLineType(type));
    while (!runs.empty() && text.size() < 24)
        for (const int run : runs) text.append(static_cast<std::size_t>(run > 0 ? run : -run), run > 0 ? '_' : ' ');
    return text;
}

}  // namespace tavo
