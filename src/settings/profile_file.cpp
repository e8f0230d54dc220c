#include "settings/profile_file.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "base/sjis_char.h"

namespace tavo {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// Not trimBlanks: the platform keeps control bytes other than these.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

// Bytes in the Shift-JIS character starting at `pos`: 2 for a lead byte
// followed by a trail byte, else 1. A lead byte before a line end stays alone.
std::size_t charSize(std::string_view s, std::size_t pos) {
    const auto c = static_cast<unsigned char>(s[pos]);
    return IsSjisLeadByte(c) && pos + 1 < s.size() && IsSjisTrailByte(static_cast<unsigned char>(s[pos + 1])) ? 2 : 1;
}

std::string_view trim(std::string_view s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && isBlank(s[begin])) ++begin;
    while (end > begin && isBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = charSize(a, i);
        if (n == 2) {
            if (a.compare(i, 2, b, i, 2) != 0) return false;
        } else if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

// The position of the last "]" that is a character of its own, or npos.
// Taking the last one lets a name hold "]"; text after it is ignored.
std::size_t findClosingBracket(std::string_view s, std::size_t from) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = from; i < s.size(); i += charSize(s, i))
        if (s[i] == ']') found = i;
    return found;
}

// One line, whatever the caller passes: every line break (CR LF, CR, LF)
// and every NUL becomes one blank, so that a value can never end its line
// and start keys or sections of its own; the platform's profile functions
// read it back as one line.
std::string oneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        line += c == '\r' || c == '\n' || c == '\0' ? ' ' : c;
    }
    return line;
}

std::string_view cutToBuffer(std::string_view s, std::size_t bufferSize) {
    return bufferSize == 0 ? std::string_view() : s.substr(0, bufferSize - 1);
}

}  // namespace

ProfileText::ProfileText(std::string bytes) : bytes_(std::move(bytes)) { index(); }

void ProfileText::index() {
    sections_.clear();
    keys_.clear();
    const std::string_view all(bytes_);
    const auto spanOf = [&](std::string_view part) {
        return Span{static_cast<std::size_t>(part.data() - all.data()), part.size()};
    };
    std::size_t pos = all.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
    while (pos < all.size()) {
        const std::size_t lineBegin = pos;
        const std::size_t contentEnd = std::min(all.find_first_of(kLineEnd, pos), all.size());
        pos = contentEnd;
        if (pos < all.size()) pos += all.compare(pos, 2, kLineEnd) == 0 ? 2 : 1;
        const bool hasLineEnd = contentEnd < all.size();

        const std::string_view line = all.substr(lineBegin, contentEnd - lineBegin);
        const std::string_view content = trim(line);
        if (content.empty() || content[0] == ';') continue;

        if (content[0] == '[') {
            const std::size_t close = findClosingBracket(content, 1);
            if (close != std::string_view::npos) {
                Section section;
                section.name = spanOf(trim(content.substr(1, close - 1)));
                section.firstKey = section.endKey = keys_.size();
                section.insertAt = pos;
                section.insertNeedsLineEnd = !hasLineEnd;
                sections_.push_back(section);
                continue;
            }
        }
        if (sections_.empty()) continue;

        // "=" (0x3D) is never a trail byte, so a plain search is safe.
        const std::size_t eq = content.find('=');
        const std::string_view key = trim(content.substr(0, eq));
        std::string_view value = trim(content.substr(eq == std::string_view::npos ? content.size() : eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);

        KeyLine keyLine;
        keyLine.lineBegin = lineBegin;
        keyLine.contentEnd = contentEnd;
        keyLine.key = spanOf(key);
        keyLine.value = spanOf(value);
        keys_.push_back(keyLine);

        Section& section = sections_.back();
        section.endKey = keys_.size();
        section.insertAt = pos;
        section.insertNeedsLineEnd = !hasLineEnd;
    }
}

const ProfileText::Section* ProfileText::findSection(std::string_view name) const {
    name = trim(name);
    for (const Section& section : sections_)
        if (sameName(text(section.name), name)) return &section;
    return nullptr;
}

const ProfileText::KeyLine* ProfileText::findKey(const Section& section, std::string_view name) const {
    name = trim(name);
    for (std::size_t i = section.firstKey; i < section.endKey; ++i)
        if (sameName(text(keys_[i].key), name)) return &keys_[i];
    return nullptr;
}

std::string ProfileText::read(std::string_view section, std::string_view key, std::string_view fallback,
                              std::size_t bufferSize) const {
    if (const Section* found = findSection(section)) {
        if (const KeyLine* line = findKey(*found, key)) return std::string(cutToBuffer(text(line->value), bufferSize));
    }
    const std::size_t end = fallback.find_last_not_of(' ');
    return std::string(cutToBuffer(fallback.substr(0, end == std::string_view::npos ? 0 : end + 1), bufferSize));
}

void ProfileText::write(std::string_view sectionText, std::string_view keyText, std::string_view valueText) {
    const std::string section = oneLine(sectionText);
    const std::string key = oneLine(keyText);
    const std::string value = oneLine(valueText);
    const std::string_view keyName = trim(key);
    const Section* found = findSection(section);
    if (!found) {
        // A new section goes at the end, on a line of its own but with no
        // blank line before it.
        std::string added;
        const std::size_t start = bytes_.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0 ? kUtf8Bom.size() : 0;
        if (bytes_.size() > start && bytes_.back() != '\r' && bytes_.back() != '\n') added += kLineEnd;
        added.append("[").append(trim(section)).append("]").append(kLineEnd);
        added.append(keyName).append("=").append(value).append(kLineEnd);
        bytes_ += added;
    } else if (const KeyLine* line = findKey(*found, keyName)) {
        // The file's spelling of the key stays; its line end stays too.
        std::string replaced(text(line->key));
        replaced.append("=").append(value);
        bytes_.replace(line->lineBegin, line->contentEnd - line->lineBegin, replaced);
    } else {
        // After the section's last key line, ahead of the blank lines and
        // comments that separate it from what follows.
        std::string added;
        if (found->insertNeedsLineEnd) added += kLineEnd;
        added.append(keyName).append("=").append(value).append(kLineEnd);
        bytes_.insert(found->insertAt, added);
    }
    index();
}

std::vector<std::string> ProfileText::sectionNames() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) names.emplace_back(text(section.name));
    return names;
}

std::vector<std::string> ProfileText::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* found = findSection(section))
        for (std::size_t i = found->firstKey; i < found->endKey; ++i) names.emplace_back(text(keys_[i].key));
    return names;
}

}  // namespace tavo
