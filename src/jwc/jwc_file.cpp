#include "jwc/jwc_file.h"

#include <cstring>
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
    std::memset(head.Line1, ' ', sizeof head.Line1);
    std::memset(head.Line2, ' ', sizeof head.Line2);
    std::memset(head.Line3, ' ', sizeof head.Line3);
    std::memset(&names, ' ', sizeof names);
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

void TJwcFile::appendTextArea(const char* area, std::size_t size) {
    if (size == 0) return;
    const bool closed = area[size - 1] == '\0';
    reserveTextBytes(size + (closed ? 0 : 1));
    const std::size_t base = textBytes_.size();
    textBytes_.reserve(base + size + 1);
    textBytes_.insert(textBytes_.end(), area, area + size);
    if (!closed) textBytes_.push_back('\0');
    const char* p = textBytes_.data() + base;
    const char* end = textBytes_.data() + textBytes_.size();
    while (p < end) {
        const char* nul = static_cast<const char*>(std::memchr(p, '\0', static_cast<std::size_t>(end - p)));
        textEnds_.push_back(static_cast<uint32_t>(nul - textBytes_.data()));
        p = nul + 1;
    }
}

std::string_view TJwcFile::textAt(int32_t i) const {
    const std::size_t begin = i == 0 ? 0 : textEnds_[static_cast<std::size_t>(i) - 1] + 1;
    return std::string_view(textBytes_.data() + begin, textEnds_[static_cast<std::size_t>(i)] - begin);
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

std::string TJwcFile::layerName(int32_t lay) const {
    if (lay < 0 || lay > 255) return std::string();
    return trimBlanks(std::string_view(names.LayerNames[lay], sizeof names.LayerNames[lay]));
}

std::string TJwcFile::groupName(int32_t group) const {
    if (group < 0 || group > 15) return std::string();
    return trimBlanks(std::string_view(names.GroupNames + 16 * group, 16));
}

float UnitDivisorFor(int32_t plotSize) { return static_cast<float>(PaperLength(plotSize) / 518.0); }

void ShowAllLayersAndGroups(TJwcFile& drawing) {
    JwcLayerTables& t = drawing.tables;
    std::memset(t.LayerFlag, 1, sizeof t.LayerFlag);
    std::memset(t.LayerDisplay, 1, sizeof t.LayerDisplay);
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

}  // namespace tavo
