#include "settings/legacy_settings.h"

#include <functional>
#include <string>

#include "base/ascii_case.h"
#include "base/number_text.h"
#include "base/path_text.h"
#include "settings/settings_convert.h"
#include "settings/settings_keys.h"

namespace tavo {

namespace {

// Hands out the blank-separated tokens of one line's value. Once no blank
// is left, the rest of the line is the token, every time it is asked for.
class TokenReader {
public:
    TokenReader(std::string_view line, std::size_t start) : line_(line), pos_(start) {}

    std::string next() {
        for (;;) {
            const std::size_t blank = pos_ + 1 < line_.size() ? line_.find(' ', pos_ + 1) : std::string_view::npos;
            if (blank == std::string_view::npos) return trimBlanks(pos_ < line_.size() ? line_.substr(pos_) : "");
            std::string candidate = trimBlanks(line_.substr(pos_, blank - pos_));
            pos_ = blank;
            if (!candidate.empty()) return candidate;
        }
    }

private:
    std::string_view line_;
    std::size_t pos_;
};

template <class T, std::size_t N>
void readRanged(TokenReader& tokens, T (&entries)[N], int32_t fallback, int32_t min, int32_t max) {
    for (T& e : entries) e = static_cast<T>(StrToIntRange(tokens.next(), fallback, min, max));
}

// A layer byte from two hexadecimal tokens; an unreadable one counts 0.
uint8_t layerByte(TokenReader& tokens) {
    const auto hex = [](const std::string& t) { return int64_t{parseInt32Or("$" + t, 0)}; };
    const int64_t group = hex(tokens.next());
    const int64_t layer = hex(tokens.next());
    return static_cast<uint8_t>((16 * group + layer) & 0xFF);
}

float decimalOr(const std::string& token, float fallback) {
    const std::optional<double> v = parseFloat(token);
    return v ? static_cast<float>(*v) : fallback;
}

void applyLine(std::string_view line, TSettings& s) {
    if (line.size() < 5 || line[0] == '#') return;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    const std::string key = AsciiUpperCase(line.substr(0, 5));
    TokenReader t(line, eq + 1);
    if (key == "MPEN ") {
        readRanged(t, s.PenNo, 1, 1, 6);
    } else if (key == "MWIDE") {
        readRanged(t, s.MojiWidth, 30, 10, 1000);
    } else if (key == "MHIGH") {
        readRanged(t, s.MojiHeight, 30, 10, 1000);
    } else if (key == "MDIST") {
        readRanged(t, s.MojiPitch, 0, -100, 1000);
    } else if (key == "DSIZE") {
        const std::string size = t.next();
        s.PlotSize = static_cast<int16_t>(size.size() >= 2 && size[1] >= '0' && size[1] <= '9' ? size[1] - '0' : 1);
    } else if (key == "SCALE") {
        s.DimScale = decimalOr(t.next(), 0.35f);
        s.JwcScale = static_cast<int16_t>(parseInt32Or(t.next(), 100));
    } else if (key == "LPROP") {
        s.SenLay = layerByte(t);
        s.SenColor = static_cast<uint8_t>(StrToIntRange(t.next(), 1, 1, 6));
        s.DoubleSenPitch = decimalOr(t.next(), 0.5f);
    } else if (key == "MPROP") {
        s.MojiLay = layerByte(t);
    } else if (key == "SPROP") {
        s.SimbolLay = layerByte(t);
        s.SimbolColor = static_cast<uint8_t>(StrToIntRange(t.next(), 1, 1, 6));
    } else if (key == "BCOLR") {
        readRanged(t, s.BColorIndex, 1, 1, 6);
    } else if (key == "BTYPE") {
        readRanged(t, s.BTypeIndex, 1, 1, 9);
    }
}

}  // namespace

void ReadLegacySettings(std::string_view bytes, TSettings& s) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        applyLine(bytes.substr(start, end - start), s);
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
        start = end + 1;
    }
    // What the legacy file never held.
    s.ExportTarget = 0;
    s.PlotOffset = 0;
    s.IsSameScale = kHostTrue;
    const SettingsKey* groupScale = FindRecordKey("GroupScale");
    groupScale->apply(s, groupScale->defaultText);
    s.ExchangeCaret = kHostFalse;
    s.ExchangeSolid = kHostFalse;
}

}  // namespace tavo
