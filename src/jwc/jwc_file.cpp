#include "jwc/jwc_file.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "base/error.h"
#include "base/geometry.h"
#include "base/path_text.h"

namespace tavo {

namespace {

// The text area's length is an i32 in the file.
constexpr std::size_t kMaxTextBytes = std::numeric_limits<int32_t>::max();

}  // namespace

TJwcFile::TJwcFile() {
    for (char* line : {&head.Line1[0], &head.Line2[0], &head.Line3[0]}) std::fill_n(line, 200, ' ');
    BlankNames(names);
}

void TJwcFile::reserveTextBytes(std::size_t more) {
    if (more > kMaxTextBytes - textBytes_.size())
        throw Error("the texts would exceed the 2147483647 bytes a text area can hold");
}

void TJwcFile::appendText(std::string_view text) {
    reserveTextBytes(text.size() + 1);
    if (text.find('\0') != std::string_view::npos) ++textsWithNul_;
    textBytes_.insert(textBytes_.end(), text.begin(), text.end());
    textEnds_.push_back(static_cast<uint32_t>(textBytes_.size()));
    textBytes_.push_back('\0');
}

void TJwcFile::appendTextArea(std::string_view area) {
    if (area.empty()) return;
    const bool closed = area.back() == '\0';
    reserveTextBytes(area.size() + (closed ? 0 : 1));
    std::size_t next = textBytes_.size();
    textBytes_.reserve(next + area.size() + 1);
    textBytes_.insert(textBytes_.end(), area.begin(), area.end());
    if (!closed) textBytes_.push_back('\0');
    const std::string_view all(textBytes_.data(), textBytes_.size());
    while (next < all.size()) {
        const std::size_t nul = all.find('\0', next);
        textEnds_.push_back(static_cast<uint32_t>(nul));
        next = nul + 1;
    }
}

std::string_view TJwcFile::textAt(int32_t i) const {
    const std::size_t begin = i == 0 ? 0 : textEnds_[static_cast<std::size_t>(i) - 1] + 1;
    return std::string_view(textBytes_.data(), textBytes_.size())
        .substr(begin, textEnds_[static_cast<std::size_t>(i)] - begin);
}

std::size_t TJwcFile::textAreaBytes() const {
    if (textsWithNul_ == 0) return textBytes_.size();
    std::size_t total = 0;
    for (int32_t i = 0; i < textCount(); ++i) {
        const std::string_view text = textAt(i);
        total += text.substr(0, text.find('\0')).size() + 1;
    }
    return total;
}

std::size_t TJwcFile::heldBytes() const {
    return sens_.capacityBytes() + enkos_.capacityBytes() + mojis_.capacityBytes() + tens_.capacityBytes() +
           textBytes_.capacity() + textEnds_.capacity() * sizeof(uint32_t);
}

std::string TJwcFile::layerName(int32_t lay) const {
    if (lay < 0 || lay > 255) return std::string();
    return trimBlanks(std::string_view(&names.LayerNames[lay][0], sizeof names.LayerNames[lay]));
}

std::string TJwcFile::groupName(int32_t group) const {
    if (group < 0 || group > 15) return std::string();
    return trimBlanks(std::string_view(&names.GroupNames[0], sizeof names.GroupNames).substr(16 * std::size_t(group), 16));
}

float UnitDivisorFor(int32_t plotSize) { return static_cast<float>(PaperLength(plotSize) / 518.0); }

void BlankNames(JwcNames& names) {
    std::fill_n(&names.LayerNames[0][0], sizeof names.LayerNames, ' ');
    std::fill(std::begin(names.GroupNames), std::end(names.GroupNames), ' ');
}

void ShowAllLayersAndGroups(TJwcFile& drawing) {
    JwcLayerTables& t = drawing.tables;
    std::fill(std::begin(t.LayerFlag), std::end(t.LayerFlag), 1);
    std::fill(std::begin(t.LayerDisplay), std::end(t.LayerDisplay), 1);
    for (int g = 0; g < 16; ++g) {
        t.GroupFlag[g] = 1;
        t.GroupDisplay[g] = 1;
        t.GroupBaseLayer[g] = static_cast<uint8_t>(16 * g);
    }
}

void SetGroupScale(TJwcFile& drawing, int group, int16_t scale) {
    drawing.groupScaleInt[group] = scale;
    drawing.groupScaleFloat[group] = scale;
}

int16_t WholeScale(float scale) {
    const int64_t whole = std::clamp<int64_t>(RoundHalfEven(scale), INT16_MIN, INT16_MAX);
    return static_cast<int16_t>(scale > 0 && whole < 1 ? 1 : whole);
}

}  // namespace tavo
